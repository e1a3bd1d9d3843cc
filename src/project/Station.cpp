#include "project/Station.h"

#include "project/Errors.h"
#include "project/Format.h"
#include "project/Text.h"

namespace earthwork {

namespace {

double NumberOrZero(std::string_view text, bool& failed) {
  if (TrimView(text).empty()) return 0;
  const auto v = ParseNumber(text);
  if (!v) failed = true;
  return v.value_or(0);
}

}  // namespace

double StationTextToNumber(std::string_view text) {
  bool failed = false;
  double value = 0;
  const size_t plus = text.find('+');
  if (plus != std::string_view::npos) {
    const double after = NumberOrZero(text.substr(plus + 1), failed);
    const double before = plus == 0 ? 0 : NumberOrZero(text.substr(0, plus), failed);
    value = after + 100 * before;
  } else if (text != ".") {
    value = NumberOrZero(text, failed);
  }
  return failed ? 0 : value;
}

bool IntOk(int16_t& key) {
  constexpr std::string_view kLetters = "BbKkAahHSsFf";
  const bool accepted =
      (key >= '0' && key <= '9') || key == '.' || key == '+' || key == 8 || key == 13 ||
      (key > 0 && key < 128 && kLetters.find(static_cast<char>(key)) != std::string_view::npos);
  if (!accepted) key = 0;
  return accepted;
}

Result CheckForAscendingOrder(ProgramState& state, int16_t row) {
  Result result = Result::Done();
  // A failure of the check itself is shown and lets the station pass.
  Trap(state.dialogs, "Program Error : ", " occured in CheckForAscendingOrder(scraps)", [&] {
    if (row == 0) return;
    const CellTable& cells = state.Project.Current().Cells;
    const std::string& text = cells.at(row, Station);
    const std::string upper = Upper(text);
    if (Contains(upper, "A")) return;
    const bool back = Contains(upper, "B");
    const double current = StationTextToNumber(back ? text.substr(0, upper.find('B')) : text);
    if (!back && current == -1) return;
    const std::string& previousText = cells.at(row - 1, Station);
    const std::string previousUpper = Upper(previousText);
    // A station equation's number stands before its letter.
    const char letter =
        Contains(previousUpper, "A") ? 'A' : (Contains(previousUpper, "B") ? 'B' : '\0');
    const double previous = StationTextToNumber(
        letter ? previousText.substr(0, previousUpper.find(letter)) : previousText);
    if (!letter && previous == -1) return;
    if (current < previous) {
      const std::string message = " Station : " + FormatStation(current) +
                                  " is less then previous station :" + FormatStation(previous);
      state.dialogs.MessageBox(message);
      result = Result::Failed(message, "CheckForAscendingOrder");
    }
  });
  return result;
}

}  // namespace earthwork
