#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/qt/QtDrawing.h"

#ifdef EARTHWORK_WITH_WINDOW
#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <filesystem>

#include "about/AppInfo.h"
#include "mainwindow/frmMain.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtSettings.h"

namespace {

/// The program's icon at every size installed in the icon theme's folders.
QIcon ProgramIcon() {
  namespace fs = std::filesystem;
  QIcon icon;
  std::error_code ec;
  for (const auto& size :
       fs::directory_iterator(earthwork::cli::DataFolder() / "icons/hicolor", ec)) {
    const fs::path png = size.path() / "apps/earthwork.png";
    if (fs::is_regular_file(png, ec)) icon.addFile(QString::fromStdString(png.string()));
  }
  return icon;
}

}  // namespace
#endif

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  earthwork::cli::InstallQtDrawing();
#ifndef EARTHWORK_WITH_WINDOW
  return earthwork::cli::Run(args);
#else
  using namespace earthwork;
  if (cli::IsBatchCommand(args)) return cli::Run(args);
  // Anything but one file name is a mistake: it is said without a window,
  // so that it also works where there is no display.
  if (args.size() > 1 || (!args.empty() && !cli::NamesAFile(args[0]))) {
    return cli::RefuseUnknownCommand(args[0]);
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(kApplicationTitle);
  // The desktop entry's name lets a Wayland shell match the window to its menu entry.
  QApplication::setDesktopFileName("earthwork");
  QApplication::setWindowIcon(ProgramIcon());
  qt::QtDialogs dialogs(kApplicationTitle);
  qt::QtSettings settings(kApplicationTitle);
  qt::QtClock clock;
  MainViewRelay view;
  ProgramState state(dialogs, view);
  frmMain window(state, view, settings, clock);
  dialogs.SetParent(&window);
  window.show();
  if (!args.empty() && !args[0].empty()) {
    // The file opens once the window is on screen, as if chosen in Open.
    const std::string path = args[0];  // already in the file system's encoding
    QTimer::singleShot(0, &window, [&window, path] { window.OpenPath(path); });
  }
  return app.exec();
#endif
}
