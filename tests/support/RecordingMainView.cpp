#include "support/RecordingMainView.h"

namespace earthwork::testing {

void RecordingMainView::SetCaption(const std::string& text) {
  caption = text;
  calls.push_back("SetCaption(" + text + ")");
}

void RecordingMainView::SetBalanceBox(const std::string& text, bool enabled) {
  balanceBox = text;
  balanceEnabled = enabled;
  calls.push_back("SetBalanceBox(" + text + (enabled ? ",enabled)" : ",disabled)"));
}

std::string RecordingMainView::HeaderBoxText(int index) const {
  return headerBoxes.at(static_cast<size_t>(index));
}

void RecordingMainView::TopRowVisible(int gridRow) {
  calls.push_back("TopRowVisible(" + std::to_string(gridRow) + ")");
}

std::string RecordingMainView::TabCaption(int group) const {
  if (group >= 0 && group < static_cast<int>(tabCaptions.size())) {
    return tabCaptions[static_cast<size_t>(group)];
  }
  return "Earthwork " + std::to_string(group + 1);
}

void RecordingMainView::SetMesurementSyste(int unitSystem) {
  calls.push_back("SetMesurementSyste(" + std::to_string(unitSystem) + ")");
}

}  // namespace earthwork::testing
