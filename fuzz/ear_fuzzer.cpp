// Any bytes as an EarFile: open must not crash, must stay inside the store,
// and a project that was read must save and read back to the same project.
// The same bytes are also imported into a project that already has a group.

#include <sstream>

#include "FuzzSupport.h"
#include "earfiles/EarFile.h"
#include "project/FileIO.h"
#include "project/Format.h"
#include "project/Text.h"
#include "support/TestFiles.h"

namespace earthwork::fuzz {
namespace {

/// A cell as the project means it: stations and numbers by their pictures,
/// codes by their text.
std::string Meaning(int column, const std::string& cell) {
  const std::string text = Trim(cell);
  if (column == Station) {
    // A station without a "+" is saved after one: the same station value.
    const std::string station = FormatStation(text);
    return Contains(station, "+") ? station : "+" + station;
  }
  if (column == Code) return text;
  return FormatArea(text);
}

/// Everything an EarFile carries, one line per item.
std::string Describe(const ProjectStore& store) {
  std::ostringstream out;
  out << "unit " << static_cast<int>(store.UnitSystem) << " groups " << store.GroupCount << "\n";
  for (const std::string& field : store.HeaderFields) out << "header [" << field << "]\n";
  for (int g = 0; g < store.GroupCount; ++g) {
    const GroupRecord& group = store.Group(g);
    // A factor reads back as its shortest text (1.00 as 1): its value counts.
    const auto factor = ParseNumber(group.BalanceFactor);
    out << "group [" << group.Name << "] factor ["
        << (factor ? ShortestText(*factor) : group.BalanceFactor) << "] flag "
        << group.MeasuredInEmbankment << "\n";
    for (int row = 0; group.Cells.at(row, Station) != kEndOfRows; ++row) {
      for (int column = Station; column <= AddedFill; ++column) {
        out << "[" << Meaning(column, group.Cells.at(row, column)) << "]";
      }
      out << "\n";
    }
  }
  return out.str();
}

std::string Messages(const testing::ScriptedDialogs& dialogs) {
  std::string text;
  for (const std::string& shown : dialogs.Texts()) text += "\n  " + shown;
  return text;
}

/// Saves the project to `name` and opens that file in a new project.
std::string SaveAndReopen(FuzzWorld& world, const std::string& name, std::string& written) {
  ProgramState& state = world.state;
  const std::string path = world.Path(name);
  if (!SaveEarFile(state, path)) Fail("saving a read project failed:" + Messages(world.dialogs));
  written = testing::ReadBytes(path);
  world.Fresh();
  if (!OpenEarFile(state, path)) {
    Fail("a file this program wrote does not open:" + Messages(world.dialogs) + "\n" + written);
  }
  CheckStoreLimits(state.Project, "reopening a saved file");
  return Describe(state.Project);
}

/// The rows a project holds, in all its groups.
int StoredRows(const ProjectStore& store) {
  int rows = 0;
  for (int g = 0; g < store.GroupCount; ++g) rows += store.Group(g).Cells.DataRowCount();
  return rows;
}

/// Lines that can only be rows: they hold a "+", no "#", and are no tag.
/// In a file with a version line and its unit line, lines 3 to 5 are the
/// header fields; a file whose unit line is elsewhere is not counted (-1).
int RowLikeLines(const std::string& bytes) {
  const std::vector<std::string> lines = SplitLines(bytes);
  const bool versioned = !lines.empty() && StartsWith(lines[0], "[VERSION");
  if (versioned && (lines.size() < 2 || (lines[1] != "[ENGLISH]" && lines[1] != "[METRIC]"))) {
    return -1;
  }
  int rows = 0;
  for (size_t i = versioned ? 5 : 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    rows += !line.empty() && line[0] != '[' && !Contains(line, "#") && Contains(line, "+");
  }
  return rows;
}

void OpenThenRoundTrip(FuzzWorld& world, const std::string& input) {
  ProgramState& state = world.Fresh();
  const bool opened = OpenEarFile(state, input).Ok();
  // Every line that is not stored is reported: without a message, no row is missing.
  if (opened && world.dialogs.shown.empty()) {
    const int expected = RowLikeLines(testing::ReadBytes(input));
    if (expected >= 0 && StoredRows(state.Project) != expected) {
      Fail("rows were dropped without a word: " + std::to_string(expected) + " row lines, " +
           std::to_string(StoredRows(state.Project)) + " stored");
    }
  }
  if (!opened) {
    // Nothing read: the new project is left as it was.
    CheckStoreLimits(state.Project, "a refused open");
    if (state.Project.GroupCount != 1) Fail("a refused open changed the group count");
    return;
  }
  CheckStoreLimits(state.Project, "open");
  // Saving fills empty cells with "0.0"; the file describes the store after that.
  const std::string text = BuildEarFileText(state.Project);
  const std::string read = Describe(state.Project);

  std::string first;
  const std::string reread = SaveAndReopen(world, "first.ear", first);
  if (first != text) Fail("the saved file differs from the text built for it");
  if (reread != read) Fail("read back differs:\n--- read\n" + read + "--- reread\n" + reread);

  // A file this program wrote, written again from what it read, reads the same.
  std::string second;
  const std::string again = SaveAndReopen(world, "second.ear", second);
  if (again != reread) Fail("second round differs:\n" + reread + "---\n" + again);
}

void Import(FuzzWorld& world, const std::string& input) {
  ProgramState& state = world.Fresh();
  ProjectStore& store = state.Project;
  store.Groups[0].Name = "Main";
  store.Groups[0].Cells.at(0, Station) = "10+00.000";
  store.Groups[0].Cells.at(1, Station) = kEndOfRows;
  store.CurrentFileName = world.Path("project.ear");
  world.dialogs.files.push_back(input);
  // Renaming questions: alternate between keeping and changing the name.
  for (int i = 0; i < 800; ++i) {
    world.dialogs.answers.push_back(i % 3 == 0 ? Answer::Yes : Answer::No);
    world.dialogs.inputs.push_back(i % 2 == 0 ? std::optional<std::string>("Renamed")
                                              : std::nullopt);
  }
  ImportEarIntoGroups(state);
  CheckStoreLimits(store, "import");
  if (store.Groups[0].Name != "Main" || store.Groups[0].Cells.at(0, Station) != "10+00.000" ||
      store.Groups[0].Cells.at(1, Station) != kEndOfRows) {
    Fail("import changed the project's own group");
  }
}

}  // namespace
}  // namespace earthwork::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace earthwork::fuzz;
  FuzzWorld& world = FuzzWorld::Get();
  const std::string input = world.WriteInput("input.ear", data, size);
  OpenThenRoundTrip(world, input);
  Import(world, input);
  return 0;
}
