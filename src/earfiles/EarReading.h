#pragma once

#include <string>
#include <vector>

#include "earfiles/EarLines.h"
#include "project/Errors.h"
#include "project/ProgramState.h"

// What Open and Import share beyond the line classification.

namespace earthwork::ear {

/// Counts the groups and rows `lines` would store, starting from the
/// project's current group (Open) or after its last group (Import), and
/// checks the embankment flags. Returns false, after telling the user, when
/// the file exceeds the store's limits; raises ProgramError for a flag that
/// does not fit its field. Stores nothing.
[[nodiscard]] Result FitsTheStore(ProgramState& state, std::string_view bytes, Reading reading,
                                  const std::string& path);

/// The bytes of an EarFile to be read: refused (ProgramError) when the file
/// is larger than any project or holds a line longer than any reader takes.
std::string ReadEarBytes(const std::string& path);

/// Stores what the lines of a file mean into the project.
class StoreSink : public LineSink {
 public:
  StoreSink(ProgramState& state, Reading reading) : state_(state), reading_(reading) {}
  void Unit(Units unitSystem) override;
  void Description(const std::string& text, int lineCounter) override;
  void BeginGroup(const std::string& name, bool newSlot) override;
  void EndGroup(int rows) override;
  void Row(const std::string& line, int lineCounter, int rowIndex, size_t lineNumber) override;
  void Factor(const std::string& text) override;
  void Flag(double value, size_t lineNumber) override;
  void Skipped(size_t lineNumber, const std::string& line, const std::string& why) override;

  /// Tells the user which lines of `path` were not stored, if any.
  void TellSkipped(const std::string& path) const;

 private:
  struct SkippedLine {
    size_t number;
    std::string line;
    std::string why;
  };
  ProgramState& state_;
  Reading reading_;
  std::string name_;  // of the group under way
  std::string row_;   // the row line being stored, one buffer for all
  std::vector<SkippedLine> skipped_;
};

/// The name an imported group gets: when it matches the name of a group
/// before it, the user may give another one.
std::string CheckImportedGroupName(ProgramState& state, std::string name);

/// A group slot as a reader starts it: no name, not measured in
/// embankment, factor 1.00. Rows end where the reader puts the marker.
void StartGroupSlot(GroupRecord& group);

}  // namespace earthwork::ear
