#pragma once

#include <string>
#include <vector>

#include "platform/ports/MainView.h"

namespace earthwork::testing {

/// A main window stand-in that records every notification as a line of
/// text ("ProjectChanged", "ScrollTo(14)"). What a window would show is in
/// the program state.
class RecordingMainView : public MainView {
 public:
  void ProjectChanged() override { calls.push_back("ProjectChanged"); }
  void GroupShown() override { calls.push_back("GroupShown"); }
  void StateChanged() override { calls.push_back("StateChanged"); }
  void ScrollTo(int gridRow) override {
    calls.push_back("ScrollTo(" + std::to_string(gridRow) + ")");
  }
  void ShowReportPreview() override { calls.push_back("ShowReportPreview"); }
  void PopupReportMenu() override { calls.push_back("PopupReportMenu"); }
  void FocusDesigner() override { calls.push_back("FocusDesigner"); }
  void Close() override { calls.push_back("Close"); }

  std::vector<std::string> calls;
};

}  // namespace earthwork::testing
