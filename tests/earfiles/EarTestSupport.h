#pragma once

#include <array>
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

/// One program state with scripted dialogs and a recording main view.
class EarTest : public ::testing::Test {
 protected:
  ScriptedDialogs dialogs;
  RecordingMainView view;
  ProgramState state{dialogs, view};
  ProjectStore& store = state.Project;
  TempDir dir;

  /// Forgets the texts shown, the scripted answers and the view's calls.
  void Fresh() {
    dialogs = ScriptedDialogs{};
    view.calls.clear();
  }

  /// Group `g` holds exactly `rows`, then the end marker.
  void SetRows(int g, const std::vector<Row>& rows) { PutRows(store.Group(g), rows); }
  std::vector<Row> Rows(int g) const { return RowsOf(store.Group(g)); }

  /// Everything a file carries, one line per item, for readable diffs.
  std::string Dump() const {
    std::ostringstream out;
    out << "unit " << static_cast<int>(store.UnitSystem) << "\n";
    for (const auto& h : store.HeaderFields) out << "header [" << h << "]\n";
    for (int g = 0; g < store.GroupCount; ++g) {
      const GroupRecord& group = store.Group(g);
      out << "group " << g << " [" << group.Name << "] factor [" << group.BalanceFactor << "] flag "
          << group.MeasuredInEmbankment << "\n";
      for (const Row& row : Rows(g)) {
        out << " ";
        for (const auto& cell : row) out << "[" << cell << "]";
        out << "\n";
      }
    }
    return out.str();
  }
};

/// A text padded with blanks to the 15 characters of a row field.
inline std::string Padded(const std::string& text) {
  return text.size() < 15 ? text + std::string(15 - text.size(), ' ') : text;
}

/// The answer a script names: "Yes", "No", "Cancel" or "Ok".
inline Answer AnswerNamed(const std::string& name) {
  return name == "Yes"      ? Answer::Yes
         : name == "No"     ? Answer::No
         : name == "Cancel" ? Answer::Cancel
                            : Answer::Ok;
}

}  // namespace earthwork::testing
