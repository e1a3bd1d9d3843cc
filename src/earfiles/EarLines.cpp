#include "earfiles/EarLines.h"

#include "project/Errors.h"
#include "project/FileIO.h"
#include "project/Format.h"
#include "project/Text.h"

namespace earthwork::ear {

namespace {

/// Why a line that would start a group's rows over is not taken: the rows
/// above it would be overwritten or cut off.
constexpr const char* kAfterRows = "it would start the group's rows over, after rows were read";

std::string FirstWord(const std::string& text) {
  size_t end = 0;
  while (end < text.size() && !IsBlank(text[end])) ++end;
  return text.substr(0, end);
}

}  // namespace

std::string GroupNameOfTag(const std::string& tag) {
  std::string rest = tag;
  for (int word = 0; word < 3; ++word) {
    rest = TrimLeft(rest);
    size_t end = 0;
    while (end < rest.size() && !IsBlank(rest[end])) ++end;
    rest = rest.substr(end);
  }
  return TrimLeft(rest);
}

std::string QuoteLine(const std::string& line) {
  constexpr size_t kShown = 60;
  if (line.size() <= kShown) return "\"" + line + "\"";
  return "\"" + line.substr(0, kShown) + "...\"";
}

int ClassifyEarLines(std::string_view bytes, Reading reading, LineSink& sink,
                     const std::string& path) {
  const bool open = reading == Reading::Open;
  LineCursor cursor(bytes);
  std::string_view view;
  // A file that begins with a version tag has its three header fields right
  // after the unit line, whatever they hold.
  const bool versioned = cursor.Next(view) && StartsWith(view, "[VERSION");
  cursor.Rewind();
  int lineCounter = 0;
  int rowIndex = 0;
  int hashCounter = 0;
  int headerLinesLeft = 0;
  bool headerTaken = false;
  bool inGroups = false;       // a group header has been seen
  bool groupUnderWay = false;  // a group has begun (Open: or rows went into the first slot)

  // Every group header is a group of its own, also when it has no rows.
  auto beginGroup = [&](const std::string& name) {
    if (groupUnderWay) sink.EndGroup(rowIndex);
    sink.BeginGroup(name, !open || groupUnderWay);
    groupUnderWay = true;
    hashCounter = 0;
  };
  // Factor and flag lines before any group of an import would land in the
  // project's own last group.
  const auto groupLinesApply = [&] { return open || groupUnderWay; };

  const auto skip = [&](const std::string& line, const std::string& why) {
    sink.Skipped(cursor.LineNumber(), line, why);
  };
  std::string line;  // one buffer for every line: no allocation per row
  while (cursor.Next(view)) {
    line.assign(view);
    const size_t lineNumber = cursor.LineNumber();
    if (headerLinesLeft > 0) {
      --headerLinesLeft;
      if (open) sink.Description(line, lineCounter);
    } else if (line.empty()) {
      // The line right after "#BALANCE FACTOR" holds the factor, also an empty one.
      if (hashCounter == 1 && lineCounter == 1 && groupLinesApply()) sink.Factor("");
    } else if (line[0] == '[') {
      const size_t close = line.find(']');
      if (close == std::string::npos) {
        throw ProgramError("Line " + std::to_string(lineNumber) + " of " + path +
                           " has \"[\" without \"]\": " + QuoteLine(line));
      }
      const std::string tag = line.substr(1, close - 1);
      const std::string first = FirstWord(tag);
      const bool unitTag = tag == "VERSION 2002" || tag == "ENGLISH" || tag == "METRIC" ||
                           (!open && tag == "VERSION 97.1");
      if (unitTag && rowIndex > 0) {
        skip(line, kAfterRows);
      } else if (unitTag) {
        sink.Unit(tag == "METRIC" ? Units::Metric : Units::English);
        lineCounter = 0;
        rowIndex = 0;
        if (versioned && !headerTaken && !inGroups && (tag == "ENGLISH" || tag == "METRIC")) {
          headerTaken = true;
          headerLinesLeft = 3;
        }
      } else if (first == "END") {
        // A group name may itself hold "]": it runs to the last one.
        beginGroup(GroupNameOfTag(line.substr(1, line.rfind(']') - 1)));
        inGroups = true;
        lineCounter = 0;
        rowIndex = 0;
      } else if (first == "LAST") {
        if (groupLinesApply()) sink.EndGroup(rowIndex);
        while (cursor.Next(view)) {
          if (!TrimView(view).empty()) skip(std::string(view), "it comes after [LAST RECORD]");
        }
        return lineCounter;
      } else if (!StartsWith(tag, "VERSION")) {
        skip(line, "the tag [" + tag + "] is not known");
      }
    } else if (StartsWith(TrimLeft(line), "#")) {
      if (rowIndex > 0) {
        skip(line, kAfterRows);
      } else {
        ++hashCounter;
        lineCounter = 0;
      }
    } else if (Contains(line, "#")) {
      // Such a line is no tag line, and taking it for one would also start
      // the rows after it over (an area written "1.#INF" by a spreadsheet).
      skip(line, "it holds \"#\" but does not begin with it");
    } else if (Contains(line, "+")) {
      if (!open && !groupUnderWay) beginGroup("");
      groupUnderWay = true;
      sink.Row(line, lineCounter, rowIndex, lineNumber);
      ++rowIndex;
    } else if (StartsWith(line, "00000")) {
      if (rowIndex > 0) {
        skip(line, kAfterRows);
      } else {
        lineCounter = 0;
      }
    } else if (const auto number = ParseNumber(line)) {
      if (groupLinesApply() && hashCounter == 1) {
        // The shortest text of a very large or small factor takes an
        // exponent (1E-05), which no reader takes for a number: such a
        // factor keeps the digits of its line.
        const std::string shortest = ShortestText(*number);
        sink.Factor(Contains(shortest, "E") ? Trim(line) : shortest);
      } else if (groupLinesApply() && hashCounter == 2) {
        sink.Flag(*number, lineNumber);
      } else if (!inGroups && hashCounter == 0 && lineCounter >= 1 && lineCounter <= 3) {
        // A numeric header field (a project number) of a file without a
        // version tag; an import keeps the project's own.
        if (open) sink.Description(line, lineCounter);
      } else {
        skip(line, "a number stands where no balance factor or embankment flag belongs");
      }
    } else if (inGroups && hashCounter == 1 && lineCounter == 1 && groupLinesApply()) {
      // A factor line that is not a number is kept as it stands: silently
      // computing with 1.00 instead would change the quantities, while the
      // kept text is saved again and the report names it.
      sink.Factor(line);
    } else if (!inGroups && lineCounter >= 1 && lineCounter <= 3) {
      // A header field (an import keeps the project's own).
      if (open) sink.Description(line, lineCounter);
    } else if (open && !inGroups && lineCounter < 1) {
      sink.Description(line, lineCounter);  // says itself why it is not stored
    } else if (!TrimView(line).empty()) {
      skip(line, "it is no row line, tag, number or header field");
    }
    ++lineCounter;
  }
  // A file that ends without "[LAST RECORD]" closes the group under way.
  if (groupLinesApply()) sink.EndGroup(rowIndex);
  return lineCounter;
}

}  // namespace earthwork::ear
