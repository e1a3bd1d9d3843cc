#pragma once

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "project/ProgramState.h"
#include "support/RecordingMainView.h"
#include "support/ScriptedDialogs.h"
#include "support/StoreRows.h"
#include "support/TestFiles.h"

namespace earthwork::testing {

using Texts = std::vector<std::string>;

/// Everything a file carries, one line per item, for readable diffs; only
/// the first `rows` rows of each group.
inline std::string StoreText(const ProjectStore& store, int rows = kCellRows) {
  std::ostringstream out;
  out << "unit " << static_cast<int>(store.UnitSystem) << "\n";
  for (const auto& h : store.HeaderFields) out << "header [" << h << "]\n";
  for (int g = 0; g < store.GroupCount; ++g) {
    const GroupRecord& group = store.Group(g);
    const int count = group.Cells.DataRowCount();
    out << "group " << g << " [" << group.Name << "] factor [" << group.BalanceFactor << "] flag "
        << group.MeasuredInEmbankment << " rows " << count << "\n";
    for (int r = 0; r < std::min(rows, count); ++r) {
      out << " ";
      for (int c = Station; c <= AddedFill; ++c) out << "[" << group.Cells.at(r, c) << "]";
      out << "\n";
    }
  }
  return out.str();
}

/// One program state with scripted dialogs and a recording main view.
class EarTest : public ::testing::Test {
 protected:
  ScriptedDialogs dialogs;
  RecordingMainView view;
  ProgramState state{dialogs, view};
  ProjectStore& store = state.Project;
  TempDir dir;

  /// Forgets the texts shown, the scripted answers and the view's calls.
  void Fresh() { dialogs = ScriptedDialogs{}, view.calls.clear(); }

  /// Group `g` holds exactly `rows`, then the end marker.
  void SetRows(int g, const std::vector<Row>& rows) { PutRows(store.Group(g), rows); }

  /// `groups` unchanged groups of two rows, the first named "Main line".
  void Build(int groups) {
    store.GroupCount = static_cast<int16_t>(groups);
    store.CurrentGroup = 0;
    store.UnitSystem = Units::English;
    store.FileVersion = EarVersion::V2002;
    store.HeaderFields = {"Mine", "1", "2"};
    for (int g = 0; g < groups; ++g) {
      store.Group(g).Name = g == 0 ? "Main line" : "G" + std::to_string(g + 1);
      store.Group(g).BalanceFactor = "1.15";
      SetRows(g, {{"00+00.000", "-", "1.00", "0.00", "2.00", "0.00"},
                  {"00+50.000", "SA", "3.00", "0.00", "4.00", "0.00"}});
    }
    store.DataChanged = false;
  }
};

}  // namespace earthwork::testing
