// The "Stickup Sheets" button of the main window.
#include <QDir>
#include <QFileInfo>

#include "commands/StickupCommand.h"
#include "mainwindow/frmMain.h"
#include "platform/os/SystemShell.h"
#include "platform/qt/Cp1252.h"
#include "stickup/qt/bentleyTwo.h"

namespace earthwork {

qt::bentleyTwo& frmMain::DrawingDialog() {
  if (!drawingDialog_) {
    // New drawings go beside the project by default.
    const QFileInfo project(qt::FromCoreText(state_.Project.CurrentFileName));
    const QString start =
        project.absoluteDir().exists() ? project.absolutePath() : QDir::currentPath();
    drawingDialog_ = new qt::bentleyTwo(stickup_, state_.dialogs, *shell_,
                                        qt::FromCoreText(os::DriveCFolder(settings_)), start, this);
  }
  return *drawingDialog_;
}

void frmMain::command2_click() {
  CommitTyping();
  earthwork::command2_click(state_, *shell_, stickup_, DrawingDialog());
}

}  // namespace earthwork
