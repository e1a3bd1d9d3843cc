// Station texts and the number pictures: any text converts without a crash,
// and every number that reads comes back from its pictures as the same
// number, rounded as the picture rounds.

#include <cmath>

#include "FuzzSupport.h"
#include "printing/Paging.h"
#include "project/Errors.h"
#include "project/Format.h"
#include "project/Station.h"
#include "project/Store.h"
#include "project/Text.h"

namespace earthwork::fuzz {
namespace {

bool AllDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

/// "-"? digits{2,} "+" digits{2} "." digits{3}
bool IsPlusNotation(std::string_view s) {
  if (!s.empty() && s[0] == '-') s.remove_prefix(1);
  const size_t plus = s.find('+');
  if (plus == std::string_view::npos || plus < 2 || s.size() != plus + 7) return false;
  return AllDigits(s.substr(0, plus)) && AllDigits(s.substr(plus + 1, 2)) && s[plus + 3] == '.' &&
         AllDigits(s.substr(plus + 4));
}

/// "-"? digits{1,} "." digits{2}
bool IsAreaPicture(std::string_view s) {
  if (!s.empty() && s[0] == '-') s.remove_prefix(1);
  return s.size() >= 4 && AllDigits(s.substr(0, s.size() - 3)) && s[s.size() - 3] == '.' &&
         AllDigits(s.substr(s.size() - 2));
}

void Near(double got, double want, double tolerance, const std::string& what) {
  if (!(std::fabs(got - want) <= tolerance)) {
    Fail(what + ": got " + ShortestText(got) + ", want " + ShortestText(want));
  }
}

void CheckNumber(double x, const std::string& text) {
  if (!std::isfinite(x) || std::fabs(x) >= 1e12) return;
  const double slack = std::fabs(x) * 1e-13;
  const std::string area = FormatArea(x);
  if (!IsAreaPicture(area)) Fail("FormatArea(" + text + ") gave " + area);
  Near(*ParseNumber(area), x, 0.005 + slack, "FormatArea(" + text + ") = " + area);
  if (FormatArea(std::string_view(text)) != area && ParseNumber(text)) {
    Fail("the text and the number of " + text + " format differently");
  }

  const std::string station = FormatStation(x);
  if (!IsPlusNotation(station)) Fail("FormatStation(" + text + ") gave " + station);
  // A negative station reads back through "-00+05" as 5: only positive ones
  // come back whole.
  if (x >= 0) Near(StationTextToNumber(station), x, 0.0005 + slack, "station of " + text);

  // The shortest text takes an exponent (1E+15, 1E-05) where plain digits
  // would be long; plain digits read back as the number.
  const std::string shortest = ShortestText(x);
  if (!Contains(shortest, "E")) {
    const auto back = ParseNumber(shortest);
    if (!back) Fail("ShortestText(" + text + ") = " + shortest + " is not a number");
    Near(*back, x, std::fabs(x) * 1e-14, "ShortestText(" + text + ")");
  }
}

void CheckRounding(double x) {
  try {
    const int32_t rounded = RoundHalfEven(x);
    if (!(std::fabs(rounded - x) <= 0.5)) Fail("RoundHalfEven(" + ShortestText(x) + ")");
    if (std::fabs(rounded - x) == 0.5 && rounded % 2 != 0) Fail("a half rounded to odd");
  } catch (const ProgramError&) {
    if (std::fabs(x) < 2147483647.0) Fail("RoundHalfEven(" + ShortestText(x) + ") overflowed");
  }
}

void CheckStoredCells(ProgramState& state, const std::string& text) {
  for (int16_t column = 0; column <= 8; ++column) {
    StorageStructure(state, 2, column, text);
    const std::string& stored = state.Project.Current().Cells.at(0, column);
    if (column == Code) {
      if (!stored.empty() && stored != "AH" && stored != "BK" && stored != "FB" && stored != "SA" &&
          stored != "-") {
        Fail("code cell " + stored);
      }
    } else if (column >= Cut && column <= AddedFill && Trim(text) != ".") {
      // A stored area is always a number, whatever was typed.
      if (!ParseNumber(stored)) Fail("cell " + std::to_string(column) + " stored " + stored);
    }
  }
}

void CheckOrder(ProgramState& state, const std::string& text) {
  const size_t cut = text.find('\n');
  CellTable& cells = state.Project.Current().Cells;
  cells.at(0, Station) = text.substr(0, cut);
  cells.at(1, Station) = cut == std::string::npos ? "" : text.substr(cut + 1);
  cells.at(2, Station) = kEndOfRows;
  const bool refused = !CheckForAscendingOrder(state, 1);
  const auto& shown = FuzzWorld::Get().dialogs.shown;
  const bool told = shown.size() == 1 && StartsWith(shown[0].text, " Station : ");
  if (refused != told || shown.size() > 1) {
    Fail("CheckForAscendingOrder refused " + std::to_string(refused) + " after " +
         std::to_string(shown.size()) + " messages");
  }
}

}  // namespace
}  // namespace earthwork::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace earthwork;
  using namespace earthwork::fuzz;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const double value = StationTextToNumber(text);
  if (const auto number = ParseNumber(text)) {
    CheckNumber(*number, text);
    if (!Contains(text, "+") && TrimView(text) != "." && value != *number) {
      Fail("StationTextToNumber(" + text + ") differs from the number it reads as");
    }
  }
  CheckNumber(value, text);
  CheckRounding(value);
  const auto field = ParseFieldNumber(text);
  if (FormatStation(std::string_view(text)) != (field ? FormatStation(*field) : text)) {
    Fail("FormatStation gave another text than the number it reads: " + text);
  }
  const std::string aligned = RightAlign(text, 8);
  if (aligned.size() != std::max<size_t>(8, text.size()) ||
      aligned.compare(aligned.size() - text.size(), text.size(), text) != 0) {
    Fail("RightAlign(" + text + ")");
  }
  ReformatToPrint(text);

  ProgramState& state = FuzzWorld::Get().Fresh();
  CheckStoredCells(state, text);
  CheckOrder(FuzzWorld::Get().Fresh(), text);
  return 0;
}
