#include "support/RecordingMainView.h"

#include <algorithm>

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

void RecordingMainView::ClearTabStrip() {
  tabCaptions.clear();
  calls.push_back("ClearTabStrip");
}

void RecordingMainView::ShowBalanceFactor(bool visible) {
  calls.push_back(visible ? "ShowBalanceFactor" : "HideBalanceFactor");
}

void RecordingMainView::EnableEditing(bool enabled) {
  calls.push_back(enabled ? "EnableEditing" : "DisableEditing");
}

void RecordingMainView::SetImportItem(const std::string& text) {
  importItem = text;
  calls.push_back("SetImportItem(" + text + ")");
}

void RecordingMainView::AddTab(int position, const std::string& text) {
  const auto at = static_cast<size_t>(std::max(position - 1, 0));
  if (at < tabCaptions.size()) {
    tabCaptions.insert(tabCaptions.begin() + static_cast<std::ptrdiff_t>(at), text);
  } else {
    tabCaptions.resize(at);
    tabCaptions.push_back(text);
  }
  calls.push_back("AddTab(" + std::to_string(position) + "," + text + ")");
}

void RecordingMainView::SetStatusText(const std::string& text) {
  calls.push_back("SetStatusText(" + text + ")");
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
