#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "project/ProjectStore.h"

// Line classification of EarFiles, shared by Open and Import and by the
// count that checks a file against the store's limits before anything is
// stored, so that the count and the reading can never disagree.

namespace earthwork::ear {

enum class Reading { Open, Import };

/// Receives what the lines of a file mean, in file order.
class LineSink {
 public:
  virtual ~LineSink() = default;
  virtual void Unit(Units unitSystem) = 0;
  /// A header field line with the line counter that places it (1, 2, 3).
  virtual void Description(const std::string& text, int lineCounter) = 0;
  /// A group starts. `newSlot` is false only for the first group of an
  /// Open, which fills the slot the caller prepared.
  virtual void BeginGroup(const std::string& name, bool newSlot) = 0;
  /// The group under way ends with `rows` data rows (its end marker row).
  virtual void EndGroup(int rows) = 0;
  virtual void Row(const std::string& line, int lineCounter, int rowIndex, size_t lineNumber) = 0;
  /// The balance factor as it is to be stored ("" for an empty factor line).
  virtual void Factor(const std::string& text) = 0;
  virtual void Flag(double value, size_t lineNumber) = 0;
  /// A line that holds something but is not stored, and why.
  virtual void Skipped(size_t /*lineNumber*/, const std::string& /*line*/,
                       const std::string& /*why*/) {}
};

/// Walks the lines of an EarFile's bytes and tells `sink` what they mean.
/// Returns the final line counter. Raises ProgramError for a tag line
/// without "]".
int ClassifyEarLines(std::string_view bytes, Reading reading, LineSink& sink,
                     const std::string& path);

/// The group name of a group header tag: the tag without its first three
/// blank-separated words ("END AREA 2 North ramp" gives "North ramp").
std::string GroupNameOfTag(const std::string& tag);

/// A line quoted for a message: cut to a readable length.
std::string QuoteLine(const std::string& line);

}  // namespace earthwork::ear
