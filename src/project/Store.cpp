#include "project/Store.h"

#include <algorithm>

#include "project/Errors.h"
#include "project/Format.h"
#include "project/Station.h"
#include "project/Text.h"

namespace earthwork {

int16_t GetIndex(ProgramState& state, int16_t gridColumn) {
  int16_t index = 0;
  Trap(state.dialogs, "Program Error: ", "(GetIndex(formRelated))", [&] { index = gridColumn; });
  return index;
}

namespace {

/// The code cell keeps the first known code found anywhere in the text.
void StoreCode(CellTable& cells, int row, const std::string& text) {
  const std::string upper = Upper(text);
  for (const char* code : {"AH", "BK", "FB", "SA", "-"}) {
    if (Contains(upper, code)) {
      cells.at(row, Code) = code;
      return;
    }
  }
}

}  // namespace

void StorageStructure(ProgramState& state, int16_t gridRow, int16_t gridColumn,
                      const std::string& text) {
  Trap(state.dialogs, "Program Error : ", " occured in StorageStructure", [&] {
    const int16_t column = GetIndex(state, gridColumn);
    const int row = gridRow - 2;
    CellTable& cells = state.Project.Current().Cells;
    if (column == Code) {
      StoreCode(cells, row, text);
      return;
    }
    if (Trim(text) == ".") return;
    const double value = StationTextToNumber(text);
    const std::string shortest = ShortestText(value);
    // A number whose shortest text takes an exponent (1E+21, 1E-20) is not
    // read back as a number by anything; its picture is taken from the value
    // so that the cell always holds digits.
    const bool exponent = Contains(shortest, "E");
    if (column >= Cut && column <= AddedFill) {
      cells.at(row, column) = exponent ? FormatArea(value) : FormatArea(shortest);
    } else if (column == Station) {
      cells.at(row, Station) = exponent ? FormatStation(value) : FormatStation(shortest);
    }
  });
}

void ResetMemory(ProgramState& state) {
  Trap(state.dialogs, "Program Error:", "(ResetMemory(formRelated))", [&] {
    CellTable& cells = state.Project.Current().Cells;
    // The grid shows the rows, the empty last line and one column beyond.
    int rows = kMaxDataRows;
    try {
      rows = cells.DataRowCount();
    } catch (const ProgramError&) {
    }
    const int lastRow = std::min(rows + 1, kCellRows - 1);
    for (int row = 0; row <= lastRow; ++row) {
      for (int column = 0; column <= AddedFill + 1; ++column) cells.at(row, column).clear();
    }
  });
}

void ResetAttribs(ProgramState& state) {
  Trap(state.dialogs, "Program Error: ", "(ResetAttribs(formRelated))", [&] {
    ProjectStore& store = state.Project;
    store.UnitSystem = Units::English;
    store.CurrentFileName = "Untitled";
    SetCaption(state, "EARTHWORK: " + store.CurrentFileName);
    store.Current().BalanceFactor = FormatArea(state.Window.BalanceBox);
    store.Current().MeasuredInEmbankment = 0;
    store.DataChanged = false;
  });
}

namespace {

/// What a project leaves in the store beyond its rows: the header fields and
/// every slot's name, factor and flag. Kept, they would be saved, reported
/// and printed with the next project without ever being shown.
void ForgetProject(ProjectStore& store) {
  store.HeaderFields = {};
  for (int g = 0; g < kGroupSlots; ++g) {
    GroupRecord& group = store.Group(g);
    group.Name.clear();
    group.MeasuredInEmbankment = 0;
    group.BalanceFactor = FormatArea("1.000");
    group.Cells.at(0, Station) = kEndOfRows;
  }
}

}  // namespace

void ResetallAttributes(ProgramState& state) {
  Trap(state.dialogs, "Program Error: ", " Occured in ResetallAttributes", [&] {
    ResetMemory(state);
    ForgetProject(state.Project);
    // ResetAttribs takes the factor from the box, which a group measured in
    // embankment may have left locked.
    WindowState& window = state.Window;
    window.BalanceBox = state.Project.Current().BalanceFactor;
    window.BalanceBoxEnabled = true;
    window.Embankment = false;
    ResetAttribs(state);
    window.LogTabCaptions.clear();
    state.Project.UnitSystem = Units::English;
    window.UnitChosen = false;
    window.Caption = "EARTHWORK: " + state.Project.CurrentFileName;
    state.view.ProjectChanged();
  });
}

}  // namespace earthwork
