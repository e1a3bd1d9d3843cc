#include "earfiles/EarFile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>

#include "earfiles/EarLines.h"
#include "earfiles/EarReading.h"
#include "project/Errors.h"
#include "project/FileIO.h"
#include "project/FileKinds.h"
#include "project/Format.h"
#include "project/Text.h"

namespace earthwork {

namespace {

/// Appends a right-aligned field. A value that fills its width would touch
/// the field before it and merge with it when read back, so it is kept
/// apart by one blank.
void AppendField(std::string& line, std::string_view value, size_t width) {
  if (value.size() >= width && !line.empty() && !IsBlank(line.back())) line += ' ';
  if (value.size() < width) line.append(width - value.size(), ' ');
  line += value;
}

/// The file's line of a row, built in `line` (one buffer for every row).
void RowLine(CellTable& cells, int row, std::string& line) {
  line.clear();
  std::string station = FormatStation(TrimLeftView(cells.at(row, Station)));
  // The reader knows a row line by its "+". A station text without one
  // (no number: only a damaged file gives such a station) is written after
  // a "+", which reads back as the same station value, so the row is kept.
  if (!Contains(station, "+")) station.insert(0, "+");
  line += station;  // first on a line that is trimmed: no padding
  AppendField(line, TrimLeftView(cells.at(row, Code)), 12);
  for (int column = Cut; column <= AddedFill; ++column) {
    AppendField(line, FormatArea(TrimLeftView(cells.at(row, column))), 12);
  }
  const std::string_view kept = TrimView(line);
  const size_t first = static_cast<size_t>(kept.data() - line.data());
  line.erase(first + kept.size());
  line.erase(0, first);
  // A line that begins with "[" is a tag to the reader. A station that
  // begins so (only a damaged file gives one) keeps a blank before it,
  // which the reader drops again.
  if (!line.empty() && line[0] == '[') line.insert(0, " ");
}

enum class Compatibility { Readable, NotCompatible, Unreadable };

constexpr const char* kNotCompatible =
    "FILE IS NOT COMPATIBLE WITH PRESENT VERSION OF THE PROGRAM.";

Compatibility TestCompatibility(ProgramState& state, const std::string& path) {
  Compatibility result = Compatibility::Unreadable;
  Trap(state.dialogs, " Program Error: ", "(CheckFileCompatibility(NewFileIO))", [&] {
    const EarFirstLine first = ClassifyEarFirstLine(ReadFirstLine(path));
    result = Compatibility::Readable;
    switch (first) {
      case EarFirstLine::Version2002:
        state.Project.FileVersion = EarVersion::V2002;
        break;
      case EarFirstLine::Version971:
        state.Project.FileVersion = EarVersion::V971;
        state.Project.DataChanged = true;
        break;
      case EarFirstLine::Oldest:
        break;
      case EarFirstLine::NotEar:
        result = Compatibility::NotCompatible;
        break;
    }
  });
  return result;
}

void WriteEarFile(ProgramState& state, const std::string& path) {
  WriteFileAtomically(path, BuildEarFileText(state.Project));
}

}  // namespace

std::string BuildEarFileText(ProjectStore& store) {
  std::string text;
  auto line = [&text](const std::string& content) {
    // A line the reader refuses would make the whole file unreadable.
    if (content.size() > kMaxLineLength) {
      throw ProgramError("The text " + ear::QuoteLine(content) + " is " +
                         std::to_string(content.size()) + " characters long; a line of the file" +
                         " holds at most " + std::to_string(kMaxLineLength));
    }
    // Line ends inside a value would split it into lines of their own and
    // change what the file means when read back.
    const size_t start = text.size();
    text += content;
    std::replace_if(
        text.begin() + static_cast<std::ptrdiff_t>(start), text.end(),
        [](char c) { return c == '\r' || c == '\n'; }, ' ');
    text += "\r\n";
  };
  line("[VERSION 2002]");
  line(store.UnitSystem == Units::Metric ? "[METRIC]" : "[ENGLISH]");
  for (const std::string& field : store.HeaderFields) line(field);
  for (int g = 0; g < store.GroupCount; ++g) {
    GroupRecord& group = store.Group(g);
    std::string header = "[END AREA ";
    header += std::to_string(g + 1);
    header += ' ';
    line(header + group.Name + "]");
    line("#BALANCE FACTOR");
    line(group.BalanceFactor);
    line("#MEASURED IN EMBANKMENT");
    std::string flag = " ";
    flag += std::to_string(group.MeasuredInEmbankment);
    line(flag + " ");
    line(kEarColumnHeader);
    CellTable& cells = group.Cells;
    std::string rowLine;
    for (int row = 0; cells.at(row, Station) != kEndOfRows; ++row) {
      // Every field must be present in the line for the reader to find it.
      for (int column = Station; column <= AddedFill; ++column) {
        if (Trim(cells.at(row, column)).empty()) cells.at(row, column) = "0.0";
      }
      RowLine(cells, row, rowLine);
      line(rowLine);
    }
  }
  line("[LAST RECORD]");
  return text;
}

Result Write2002VersionFile(ProgramState& state) {
  constexpr const char* kWhere = " occured in Write2002VersionFile";
  const std::string path = state.Project.CurrentFileName;
  Result result = Result::Failed("The user kept " + path, kWhere);
  const Result trapped = Trap(state.dialogs, "Program Error: ", kWhere, [&] {
    std::error_code ec;
    if (std::filesystem::exists(path, ec) &&
        state.dialogs.MessageBox(" OVERWRITE EXISTING FILE " + path + " ?", Buttons::YesNo,
                                 Icon::Question, {}, Answer::No) != Answer::Yes) {
      return;
    }
    WriteEarFile(state, path);
    result = Result::Done();
  });
  return trapped ? result : trapped;
}

Result SaveEarFile(ProgramState& state, const std::string& path) {
  return Trap(state.dialogs, "Program Error: ", " occured in Write2002VersionFile",
              [&] { WriteEarFile(state, path); });
}

Result CheckFileCompatibility(ProgramState& state, const std::string& path) {
  if (TestCompatibility(state, path) == Compatibility::Readable) return Result::Done();
  return Result::Failed(path + " is no file of this program", "CheckFileCompatibility");
}

namespace {

/// A row field as the fixed-width field holds it: padded to 15 characters;
/// a longer value is kept whole so that nothing read is lost. Written into
/// `field`'s own buffer, so a row is read without a copy per field.
void SetFixedField(std::string& field, std::string_view text) {
  field.assign(text);
  if (field.size() < kRowFieldWidth) field.append(kRowFieldWidth - field.size(), ' ');
}

constexpr const char* kGetParametersPrefix = "Program Error: ";
constexpr const char* kGetParametersSuffix = " occured in GetParameters(NewFileIO).";

/// The fields of a row line, trimmed, and the RowFields index each goes to.
struct RowParts {
  std::array<std::string_view, 6> parts;
  size_t found = 0;
  bool complete = true;
  bool older = false;  // "VERSION 97.1": no code field
  size_t Field(size_t i) const { return (older && i > 0) ? i + 1 : i; }
  size_t Expected() const { return older ? 5 : 6; }
};

/// Splits `line` at `separator`; its tabs become the separator first.
RowParts SplitRowLine(const ProgramState& state, std::string& line, char separator) {
  for (char& c : line) {
    if (c == '\t') c = separator;
  }
  RowParts row;
  row.older = state.Project.FileVersion == EarVersion::V971;
  std::string_view rest = TrimLeftView(line);
  while (row.found + 1 < row.Expected()) {
    const size_t at = rest.find(separator);
    if (at == std::string_view::npos) {
      row.complete = false;
      break;
    }
    row.parts[row.found++] = TrimView(rest.substr(0, at));
    rest = TrimLeftView(rest.substr(at + 1));
  }
  // What the line holds is kept even when fields are missing: the rest is
  // the next field, the ones after it stay blank.
  if (const std::string_view last = TrimRightView(rest); !last.empty() || row.complete) {
    row.parts[row.found++] = last;
  }
  return row;
}

void RequireEveryField(const RowParts& row, const std::string& line) {
  if (!row.complete) {
    throw ProgramError("Row line has fewer than " + std::to_string(row.Expected()) +
                       " fields: " + ear::QuoteLine(line));
  }
}

std::string Padded(std::string_view text) {
  std::string field;
  SetFixedField(field, text);
  return field;
}

}  // namespace

void GetParameters(ProgramState& state, std::string& line, int16_t mode) {
  Trap(state.dialogs, kGetParametersPrefix, kGetParametersSuffix, [&] {
    auto& fields = state.Project.RowFields;
    for (std::string& field : fields) SetFixedField(field, "");
    const RowParts row = SplitRowLine(state, line, mode == 1 ? ' ' : ',');
    for (size_t i = 0; i < row.found; ++i) {
      const size_t field = row.Field(i);
      if (field == 0) {
        SetFixedField(fields[0], FormatStation(row.parts[0]));
      } else if (field == 1) {
        SetFixedField(fields[1], row.parts[1]);
      } else {
        SetFixedField(fields[field], FormatArea(row.parts[i]));
      }
    }
    if (row.older) SetFixedField(fields[1], "-");
    RequireEveryField(row, line);
  });
}

void StoreStationValue(ProgramState& state, std::string& line, int, int& row, int16_t& rowsStored) {
  Trap(state.dialogs, "Program Error : ", " occured in StoreStationValue", [&] {
    // The cells GetParameters' fields would give, without the fields: the
    // station padded as it stands (plus notation is no number, so its
    // picture returns it unchanged), the code padded, an area as its
    // picture or, not being a number, padded.
    const RowParts parts = SplitRowLine(state, line, ' ');
    Trap(state.dialogs, kGetParametersPrefix, kGetParametersSuffix,
         [&] { RequireEveryField(parts, line); });
    CellTable& cells = state.Project.Current().Cells;
    const std::string blank(kRowFieldWidth, ' ');
    for (int column = Station; column <= AddedFill; ++column) cells.at(row, column) = blank;
    for (size_t i = 0; i < parts.found; ++i) {
      const size_t field = parts.Field(i);
      std::string& cell = cells.at(row, static_cast<int>(field));
      if (field == 0) {
        cell = Padded(FormatStation(parts.parts[0]));
      } else if (field == 1) {
        cell = Padded(parts.parts[1]);
      } else if (auto picture = AreaPicture(parts.parts[i])) {
        cell = std::move(*picture);
      } else {
        cell = Padded(parts.parts[i]);
      }
    }
    if (parts.older) cells.at(row, Code) = Padded("-");
    ++row;
    rowsStored = 1;
  });
}

void StoreDescription(ProgramState& state, const std::string& text, int k) {
  Trap(state.dialogs, "Program Error : ", " occured in StoreDescription", [&] {
    if (k >= 4) return;
    if (k < 1) SubscriptOutOfRange();
    state.Project.HeaderFields[static_cast<size_t>(k - 1)] = text;
  });
}

void SetMesurementSyste(ProgramState& state) {
  Trap(state.dialogs, "Program Error : ", " occured in SetMesurementSyste", [&] {
    state.Window.UnitChosen = true;
    state.view.StateChanged();
  });
}

Result ReadFileVersion2002(ProgramState& state) {
  constexpr const char* kWhere = "(ReadFileVersion2002(NewFileIO))";
  Result result = Result::Done();
  const Result trapped = Trap(state.dialogs, "Program Error: ", kWhere, [&] {
    ProjectStore& store = state.Project;
    const std::string path = store.CurrentFileName;
    const std::string bytes = ear::ReadEarBytes(path);
    result = ear::FitsTheStore(state, bytes, ear::Reading::Open, path);
    if (!result) return;

    store.GroupCount = static_cast<int16_t>(store.CurrentGroup + 1);
    store.HeaderFields = {};
    ear::StartGroupSlot(store.Current());
    ear::StoreSink sink(state, ear::Reading::Open);
    const int lineCounter = ear::ClassifyEarLines(bytes, ear::Reading::Open, sink, path);

    store.CurrentGroup = 0;
    SetMesurementSyste(state);
    ShowReadProject(state, lineCounter);
    sink.TellSkipped(path);
  });
  return trapped ? result : trapped;
}

Result OpenEarFile(ProgramState& state, const std::string& path) {
  ProjectStore& store = state.Project;
  store.CurrentGroup = 0;
  store.GroupCount = 1;
  // A project left empty after a reset keeps a valid (empty) first group.
  auto keepEmptyGroupValid = [&] {
    std::string& first = store.Group(0).Cells.at(0, Station);
    if (first.empty()) first = kEndOfRows;
  };
  const Compatibility compatibility = TestCompatibility(state, path);
  if (compatibility != Compatibility::Readable) {
    if (compatibility == Compatibility::NotCompatible) {
      state.dialogs.MessageBox(kNotCompatible);
    }
    keepEmptyGroupValid();
    return Result::Failed(kNotCompatible, "OpenEarFile");
  }
  store.LogFileMode = false;
  if (store.FileVersion == EarVersion::V971) store.DataChanged = !store.ImportDone;
  // A file that was not read must not become the file a later Save replaces.
  const std::string previousName = store.CurrentFileName;
  store.CurrentFileName = path;
  if (Result read = ReadFileVersion2002(state); !read) {
    store.CurrentFileName = previousName;
    keepEmptyGroupValid();
    return read;
  }
  SetCaption(state, "EARTHWORK :" + path);
  return Result::Done();
}

namespace ear {

void StartGroupSlot(GroupRecord& group) {
  group.Name.clear();
  group.MeasuredInEmbankment = 0;
  group.BalanceFactor = "1.00";
}

namespace {

/// Counts what a reading would store; stores nothing.
class LimitSink : public LineSink {
 public:
  explicit LimitSink(bool open) : groups_(open ? 1 : 0) {}
  void Unit(Units) override {}
  void Description(const std::string&, int) override {}
  void BeginGroup(const std::string& name, bool newSlot) override {
    if (newSlot) ++groups_;
    name_ = name;
    rows_ = 0;
  }
  void EndGroup(int rows) override {
    rows_ = std::max(rows_, rows);
    if (rows_ > kMaxDataRows && overfullGroup_ == 0) {
      overfullGroup_ = groups_;
      overfullName_ = name_;
      overfullRows_ = rows_;
    }
  }
  void Row(const std::string&, int, int rowIndex, size_t) override {
    rows_ = std::max(rows_, rowIndex + 1);
  }
  void Factor(const std::string&) override {}
  void Flag(double value, size_t lineNumber) override {
    const double rounded = std::nearbyint(value);
    if ((rounded < INT16_MIN || rounded > INT16_MAX) && badFlagLine_ == 0) {
      badFlagLine_ = lineNumber;
      badFlag_ = ShortestText(value);
    }
  }

  int groups_;
  std::string name_;
  int rows_ = 0;
  int overfullGroup_ = 0;
  std::string overfullName_;
  int overfullRows_ = 0;
  size_t badFlagLine_ = 0;
  std::string badFlag_;
};

}  // namespace

std::string ReadEarBytes(const std::string& path) {
  return ReadTextFile(path, kMaxEarFileBytes);
}

Result FitsTheStore(ProgramState& state, std::string_view bytes, Reading reading,
                    const std::string& path) {
  const bool open = reading == Reading::Open;
  LimitSink count(open);
  ClassifyEarLines(bytes, reading, count, path);
  if (count.badFlagLine_ != 0) {
    throw ProgramError("Overflow in line " + std::to_string(count.badFlagLine_) + " of " + path +
                       ": the embankment flag " + count.badFlag_ + " does not fit its field");
  }
  const ProjectStore& store = state.Project;
  const std::string nothing = open ? " Nothing was read." : " Nothing was imported.";
  const int before = open ? store.CurrentGroup : store.GroupCount;
  if (before + count.groups_ > kGroupSlots) {
    std::string text = "The file " + path + " holds " + std::to_string(count.groups_) + " groups";
    if (!open) text += " and the project already has " + std::to_string(store.GroupCount);
    text += "; a project holds at most " + std::to_string(kGroupSlots) + " groups." + nothing;
    state.dialogs.MessageBox(text, Buttons::Ok, Icon::Exclamation);
    return Result::Failed(text, "FitsTheStore");
  }
  if (count.overfullGroup_ != 0) {
    const std::string text = "Group " + std::to_string(count.overfullGroup_) + " (" +
                             count.overfullName_ + ") of the file " + path + " holds " +
                             std::to_string(count.overfullRows_) + " rows; a group holds at most " +
                             std::to_string(kMaxDataRows) + " rows." + nothing;
    state.dialogs.MessageBox(text, Buttons::Ok, Icon::Exclamation);
    return Result::Failed(text, "FitsTheStore");
  }
  return Result::Done();
}

void StoreSink::Unit(Units unitSystem) {
  state_.Project.UnitSystem = unitSystem;
}

void StoreSink::Description(const std::string& text, int lineCounter) {
  StoreDescription(state_, text, lineCounter);
}

void StoreSink::BeginGroup(const std::string& name, bool newSlot) {
  ProjectStore& store = state_.Project;
  if (newSlot) {
    ++store.CurrentGroup;
    ++store.GroupCount;
    StartGroupSlot(store.Current());
  }
  name_ = name;
  if (reading_ == Reading::Import) {
    name_ = CheckImportedGroupName(state_, name);
    store.Current().Name = name_;
  }
}

void StoreSink::EndGroup(int rows) {
  GroupRecord& group = state_.Project.Current();
  group.Cells.at(rows, Station) = kEndOfRows;
  group.Name = name_;
}

void StoreSink::Row(const std::string& line, int lineCounter, int rowIndex, size_t) {
  row_.assign(line);
  int16_t rowsStored = 0;
  StoreStationValue(state_, row_, lineCounter, rowIndex, rowsStored);
}

void StoreSink::Skipped(size_t lineNumber, const std::string& line, const std::string& why) {
  skipped_.push_back({lineNumber, line, why});
}

void StoreSink::TellSkipped(const std::string& path) const {
  if (skipped_.empty()) return;
  constexpr size_t kListed = 10;
  std::string text = "Not every line of " + path + " was read:";
  for (size_t i = 0; i < skipped_.size() && i < kListed; ++i) {
    const SkippedLine& s = skipped_[i];
    text += "\nline " + std::to_string(s.number) + " " + QuoteLine(s.line) + ": " + s.why + ".";
  }
  if (skipped_.size() > kListed) {
    const size_t more = skipped_.size() - kListed;
    text += "\nand " + std::to_string(more) + (more == 1 ? " more line." : " more lines.");
  }
  state_.dialogs.MessageBox(text, Buttons::Ok, Icon::Exclamation);
}

void StoreSink::Factor(const std::string& text) {
  // A group measured in embankment has the factor 01.000, also when a
  // factor line follows its flag (lines before a file's first group header
  // belong to that group too).
  GroupRecord& group = state_.Project.Current();
  if (group.MeasuredInEmbankment != 1) group.BalanceFactor = text;
}

void StoreSink::Flag(double value, size_t) {
  GroupRecord& group = state_.Project.Current();
  group.MeasuredInEmbankment = static_cast<int16_t>(RoundHalfEven(value));
  if (group.MeasuredInEmbankment == 1) {
    group.BalanceFactor = "01.000";
    state_.Window.BalanceBox = "01.000";
    state_.Window.BalanceBoxEnabled = false;
  }
}

}  // namespace ear

}  // namespace earthwork
