#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/ports/Files.h"
#include "support/TestFiles.h"

namespace earthwork::fuzz {

FuzzWorld::FuzzWorld() {
  // Saves sync their files: in memory that costs nothing.
  std::error_code ec;
  const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                         ? std::filesystem::path("/dev/shm")
                                         : std::filesystem::temp_directory_path();
#ifdef _WIN32
  const std::string pattern =
      (base / ("earthwork-fuzz-" + std::to_string(os::ProcessId()))).string();
  std::filesystem::create_directory(pattern, ec);
  if (ec) Fail("cannot create a temporary folder");
#else
  std::string pattern = (base / "earthwork-fuzz-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) Fail("cannot create a temporary folder");
#endif
  folder_ = pattern;
  // Reports of the fuzzed projects go here instead of the user's report folder.
  testing::SetEnv("EARTHWORK_REPORT_DIR", folder_ + "/");
  // The folder goes with the process; a crash leaves it for a look.
  std::atexit([] { std::filesystem::remove_all(Get().folder_); });
}

FuzzWorld& FuzzWorld::Get() {
  // Never destroyed: the folder is removed at exit, after static destructors.
  static FuzzWorld& world = *new FuzzWorld;
  return world;
}

ProgramState& FuzzWorld::Fresh() {
  ProjectStore& store = state.Project;
  // Cleared in place: allocating the tables anew costs a page fault per
  // page under the sanitizers, a thousand times the work of a small input.
  // Everything writes rows from row 0 on, one after the other, so the rows
  // in use end at the first row that is wholly empty.
  for (GroupRecord& group : store.Groups) {
    group.Name.clear();
    group.MeasuredInEmbankment = 0;
    group.BalanceFactor.clear();
    for (int row = 0; row < kCellRows; ++row) {
      bool used = false;
      for (int column = 0; column < kCellColumns; ++column) {
        std::string& cell = group.Cells.at(row, column);
        used = used || !cell.empty();
        cell.clear();
      }
      if (!used) break;
    }
  }
  store.Groups[0].Cells.at(0, Station) = kEndOfRows;
  store.GroupCount = 1;
  store.CurrentGroup = 0;
  store.UnitSystem = Units::English;
  store.HeaderFields = {};
  store.CurrentFileName = "Untitled";
  store.DataChanged = false;
  store.FileVersion = EarVersion::V2002;
  store.LogFileMode = false;
  store.ImportDone = false;
  store.RowFields = {};
  for (LogGroup& group : state.Log.Groups) {
    group.SectionTable.Clear();
    group.AdjustmentTable.Clear();
    group.PointTable.Clear();
    group.SummaryTable.Clear();
    group.SectionStationCount = -1;
    group.PointCount = -1;
  }
  state.Counters = LogCounters{};
  state.Report = ReportState{};
  state.FileDialog = FileDialogSettings{};
  dialogs = testing::ScriptedDialogs{};
  view = testing::RecordingMainView{};
  return state;
}

std::string FuzzWorld::Path(const std::string& name) const {
  return folder_ + "/" + name;
}

std::string FuzzWorld::WriteInput(const std::string& name, const uint8_t* data, size_t size) const {
  const std::string path = Path(name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  if (!out) Fail("cannot write " + path);
  return path;
}

void Fail(const std::string& what) {
  std::fprintf(stderr, "\nPROPERTY FAILED: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

bool HasEndMarker(const GroupRecord& group) {
  for (int row = 0; row < kCellRows; ++row) {
    if (group.Cells.at(row, Station) == kEndOfRows) return true;
  }
  return false;
}

void CheckStoreLimits(const ProjectStore& store, std::string_view after) {
  const std::string where(after);
  if (store.GroupCount < 1 || store.GroupCount > kGroupSlots) {
    Fail(where + ": GroupCount " + std::to_string(store.GroupCount));
  }
  if (store.CurrentGroup < 0 || store.CurrentGroup >= store.GroupCount) {
    Fail(where + ": CurrentGroup " + std::to_string(store.CurrentGroup) + " of " +
         std::to_string(store.GroupCount));
  }
  for (int g = 0; g < store.GroupCount; ++g) {
    if (!HasEndMarker(store.Group(g))) Fail(where + ": group " + std::to_string(g) + " has no end");
  }
}

uint8_t ByteReader::Byte() {
  return pos_ < size_ ? data_[pos_++] : 0;
}

uint16_t ByteReader::Word() {
  const uint16_t high = Byte();
  return static_cast<uint16_t>(high << 8 | Byte());
}

std::string ByteReader::Text(size_t maxLength) {
  // Pick moves pos_, so it must run before the bytes left are counted.
  const size_t wanted = Pick(maxLength + 1);
  const size_t length = std::min<size_t>(wanted, size_ - std::min(pos_, size_));
  std::string text(reinterpret_cast<const char*>(data_ + pos_), length);
  pos_ += length;
  return text;
}

std::string ByteReader::Rest() {
  if (pos_ >= size_) return {};
  std::string text(reinterpret_cast<const char*>(data_ + pos_), size_ - pos_);
  pos_ = size_;
  return text;
}

}  // namespace earthwork::fuzz
