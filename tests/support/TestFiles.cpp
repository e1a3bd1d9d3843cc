#include "support/TestFiles.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>

#ifndef _WIN32
#include <sys/wait.h>
#endif
#include <unistd.h>

#include <gtest/gtest.h>

namespace earthwork::testing {

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  root_ = std::filesystem::temp_directory_path() /
          ("earthwork-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(root_);
  std::filesystem::create_directories(root_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::permissions(root_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(root_, ec);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string DataPath(const std::string& name) {
  return std::string(EARTHWORK_TEST_DATA) + "/" + name;
}

std::string CrLf(std::initializer_list<std::string> lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\r\n";
  return s;
}

std::vector<std::string> SplitAt(const std::string& text, const std::string& separator) {
  std::vector<std::string> pieces;
  for (size_t start = 0; start < text.size();) {
    const size_t end = std::min(text.find(separator, start), text.size());
    pieces.push_back(text.substr(start, end - start));
    start = end + separator.size();
  }
  return pieces;
}

namespace {

/// Keeps `actual` where scripts/update-golden finds it; renamed into place,
/// as tests of one golden may run at the same time.
void KeepActual(const std::string& actual, const std::string& name) {
  const std::filesystem::path path = std::filesystem::path(EARTHWORK_GOLDEN_ACTUAL) / name;
  std::filesystem::create_directories(path.parent_path());
  const std::string temporary = path.string() + ".partial-" + std::to_string(::getpid());
  WriteBytes(temporary, actual);
  std::filesystem::rename(temporary, path);
}

/// Compares without asking what kind of file `name` is.
void CompareWithGolden(const std::string& actual, const std::string& name) {
  const std::string path = DataPath(name);
  std::string expected;
  bool found = true;
  try {
    expected = ReadBytes(path);
  } catch (const std::exception& e) {
    ADD_FAILURE() << e.what();
    found = false;
  }
  if (found && actual == expected) {
    // A file kept by an earlier run would no longer be true.
    std::error_code ignored;
    std::filesystem::remove(std::filesystem::path(EARTHWORK_GOLDEN_ACTUAL) / name, ignored);
    return;
  }
  KeepActual(actual, name);
  // At LF only, so that a difference in line ends shows as one too.
  const auto lines = [](const std::string& text) { return SplitAt(text, "\n"); };
  if (lines(actual) != lines(expected)) {
    EXPECT_EQ(lines(actual), lines(expected)) << "differs from " << path;
  } else {
    ADD_FAILURE() << path << ": line ends differ";
  }
}

}  // namespace

void ExpectGolden(const std::string& actual, const std::string& name) {
  // A report compared here would skip its invariants.
  if (name.ends_with(".rpt")) ADD_FAILURE() << name << ": compare reports with ExpectGoldenReport";
  CompareWithGolden(actual, name);
}

namespace {

const std::string kClosingLine(65, '#');

/// Worked out afresh rather than taken from the paging code it checks.
int64_t PagesByRule(int64_t displayLines) {
  constexpr int64_t kFirst = 44, kLater = 51;
  return displayLines <= kFirst ? 1 : 1 + (displayLines - kFirst + kLater - 1) / kLater;
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

std::optional<double> Number(const std::string& word) {
  char* end = nullptr;
  const double value = std::strtod(word.c_str(), &end);
  if (word.empty() || *end != '\0') return std::nullopt;
  return value;
}

/// "12+34.567", "-00+50.000": digits, "+", two digits, ".", three digits.
bool IsStation(const std::string& word) {
  const size_t plus = word.find('+');
  const size_t start = word.starts_with('-') ? 1 : 0;
  if (plus == std::string::npos || plus == start || word.size() != plus + 7) return false;
  for (size_t i = start; i < word.size(); ++i) {
    const char wanted = i == plus ? '+' : i == plus + 3 ? '.' : '0';
    if (wanted == '0' ? !std::isdigit(static_cast<unsigned char>(word[i])) : word[i] != wanted) {
      return false;
    }
  }
  return true;
}

/// In a Total group without forced balances the mass ordinate is the
/// running sum of adjusted cut minus adjusted fill, so its last value is
/// what the grand summary says.
void ExpectMassMatchesSummary(const std::vector<std::string>& group) {
  std::string tab;
  double mass = 0;
  std::optional<double> cut, fill;
  for (const std::string& line : group) {
    if (line.starts_with("#TabName=")) tab = line;
    if (line.starts_with("Fo+rced Balance")) return;
    const auto words = Words(line);
    // A station's line ends with its mass ordinate (a balance point's too,
    // but the station's own line follows it).
    if (words.size() > 1 && IsStation(words[0]) && Number(words.back())) {
      mass = *Number(words.back());
    }
    // "+Excavation  102  102  1.0" and "+     Fill  425  492  1.15"
    const auto summary = Words(line.starts_with('+') ? line.substr(1) : line);
    if (summary.size() == 4 && summary[0] == "Excavation") cut = Number(summary[2]);
    if (summary.size() == 4 && summary[0] == "Fill") fill = Number(summary[2]);
  }
  if (!cut || !fill) {
    ADD_FAILURE() << tab << ": no grand summary with adjusted volumes";
    return;
  }
  EXPECT_NEAR(mass, *cut - *fill, 0.005)
      << tab << ": the last mass ordinate is not adjusted cut minus adjusted fill";
}

}  // namespace

void ExpectReportInvariants(const std::string& report, GoldenKind kind, int32_t pageCount) {
  const std::vector<std::string> lines = Lines(report);
  int64_t displayLines = 0;
  bool wideShown = false;
  std::vector<std::string> group;
  for (size_t n = 0; n < lines.size(); ++n) {
    const std::string& line = lines[n];
    if (line.size() > 200 && !wideShown) {
      ADD_FAILURE() << "line " << n + 1 << " is " << line.size() << " characters wide: " << line;
      wideShown = true;
    }
    displayLines += line.find('#') == std::string::npos;
    group.push_back(line);
    if (line == kClosingLine) {
      if (kind == GoldenKind::Total) ExpectMassMatchesSummary(group);
      group.clear();
    }
  }
  EXPECT_EQ(pageCount, PagesByRule(displayLines))
      << "page count of " << displayLines << " display lines";
  EXPECT_TRUE(report.ends_with(kClosingLine + "\r\n"))
      << "the report does not end with its closing line";
}

void ExpectGoldenReport(const std::string& report, const std::string& name, GoldenKind kind,
                        int32_t pageCount) {
  SCOPED_TRACE(name);
  ExpectReportInvariants(report, kind, pageCount);
  CompareWithGolden(report, name);
}

void SetEnv(const char* name, const std::optional<std::string>& value) {
#ifdef _WIN32
  // An empty value removes the variable there.
  ::_putenv_s(name, value ? value->c_str() : "");
#else
  if (value) {
    ::setenv(name, value->c_str(), 1);
  } else {
    ::unsetenv(name);
  }
#endif
}

ScopedReportDirectory::ScopedReportDirectory(const std::string& dir) {
  if (const char* old = std::getenv("EARTHWORK_REPORT_DIR")) {
    old_ = old;
    hadOld_ = true;
  }
  SetEnv("EARTHWORK_REPORT_DIR", dir);
}

ScopedReportDirectory::~ScopedReportDirectory() {
  SetEnv("EARTHWORK_REPORT_DIR", hadOld_ ? std::optional<std::string>(old_) : std::nullopt);
}

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string CommandOutput(const std::string& command) {
  std::string out;
#ifdef _WIN32
  FILE* pipe = ::_popen(command.c_str(), "r");
#else
  FILE* pipe = ::popen(command.c_str(), "r");
#endif
  if (!pipe) return out;
  std::array<char, 4096> buffer{};
  size_t n = 0;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
#ifdef _WIN32
  ::_pclose(pipe);
#else
  ::pclose(pipe);
#endif
  return out;
}

int PdfPages(const std::string& path) {
  const std::string info = CommandOutput("pdfinfo " + ShellQuoted(path) + " 2>/dev/null");
  const size_t at = info.find("Pages:");
  return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::string& folder, const std::string& reports,
                      const std::string& prefix) {
  std::string command = "cd " + ShellQuoted(folder) +
                        " && EARTHWORK_REPORT_DIR=" + ShellQuoted(reports) + " " + prefix + " " +
                        ShellQuoted(program);
  for (const std::string& a : args) command += " " + ShellQuoted(a);
  command += " >stdout.txt 2>stderr.txt";
  const int status = std::system(command.c_str());
  const std::filesystem::path dir(folder);
#ifdef _WIN32
  const int code = status;
#else
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  return {code, ReadBytes((dir / "stdout.txt").string()), ReadBytes((dir / "stderr.txt").string())};
}

std::map<std::string, std::string> FolderSnapshot(const std::string& folder,
                                                  const std::vector<std::string>& skip) {
  namespace fs = std::filesystem;
  std::map<std::string, std::string> entries;
  const fs::path root(folder);
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
       ++it) {
    const std::string relative = it->path().lexically_relative(root).string();
    if (std::find(skip.begin(), skip.end(), relative) != skip.end()) {
      if (it->is_directory() && !it->is_symlink()) it.disable_recursion_pending();
      continue;
    }
    const fs::file_status status = it->symlink_status();
    if (fs::is_symlink(status)) {
      entries[relative] = "link:" + fs::read_symlink(it->path()).string();
    } else if (fs::is_regular_file(status)) {
      entries[relative] = "file:" + ReadBytes(it->path().string());
    } else {
      entries[relative] = fs::is_directory(status) ? "folder" : "other";
    }
  }
  return entries;
}

std::string ReplaceAll(std::string text, const std::string& key, const std::string& value) {
  for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at)) {
    text.replace(at, key.size(), value);
    at += value.size();
  }
  return text;
}

std::vector<std::string> ReplaceAll(std::vector<std::string> texts, const std::string& key,
                                    const std::string& value) {
  for (auto& text : texts) text = ReplaceAll(text, key, value);
  return texts;
}

}  // namespace earthwork::testing
