// Pictures of the windows for a visual check: the main window on a project,
// its report preview, the page selection dialog and the About box, saved as
// PNG files. Not a test; run it under a display (e.g. xvfb-run):
//   window_screenshots PROJECT.ear OUTPUT_FOLDER
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <iostream>

#include "QtTestSupport.h"
#include "about/AppInfo.h"
#include "about/frmAbout.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmPrintSelect.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtSettings.h"

using namespace earthwork;

namespace {

void Save(QWidget& widget, const QString& folder, const char* name) {
  const QString path = QDir(folder).filePath(name);
  if (!widget.grab().save(path)) std::cerr << "cannot write " << path.toStdString() << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::cerr << "usage: window_screenshots PROJECT.ear OUTPUT_FOLDER\n";
    return 1;
  }
  const QString folder = argv[2];
  QDir().mkpath(folder);
  qt::QtDialogs dialogs(kApplicationTitle);
  auto settings = qt::QtSettings::AtFile(QDir(folder).filePath("settings.ini"));
  qt::QtClock clock;
  MainViewRelay view;
  ProgramState state(dialogs, view);
  frmMain window(state, view, *settings, clock);
  dialogs.SetParent(&window);
  window.show();
  // Messages the report writers show are answered with their default button.
  QTimer answerer;
  QObject::connect(&answerer, &QTimer::timeout, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
        std::cerr << "message: " << box->text().toStdString() << "\n";
        box->done(QMessageBox::Ok);
      }
    }
  });
  answerer.start(50);
  window.OpenPath(argv[1]);
  QApplication::processEvents();
  Save(window, folder, "main.png");

  earthwork::testing::WhenShown<frmPreview>([&](frmPreview& preview) {
    Save(preview, folder, "preview-page1.png");
    preview.mnuForward();
    QApplication::processEvents();
    Save(preview, folder, "preview-page2.png");
    // Print All ends the preview; with no printer the pages go to a PDF
    // beside the report.
    preview.mnuPrint(0);
  });
  window.mnuFilePrintPreview(0);

  frmPrintSelect select(window.State(), &window);
  select.FromPage().setText("1");
  select.ToPage().setText("2");
  select.show();
  QApplication::processEvents();
  Save(select, folder, "print-select.png");
  select.close();

  earthwork::testing::WhenShown<frmAbout>([&](frmAbout& about) {
    Save(about, folder, "about.png");
    about.accept();
  });
  window.mnuHelpAbout();
  return 0;
}
