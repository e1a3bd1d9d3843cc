// Pictures of the main window on a project or a log and of its mass-haul
// diagram, as PNG files for a visual check. Not a test; run it under a
// display (e.g. xvfb-run):  window_screenshots PROJECT.ear|LOG.log OUTPUT_FOLDER
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTimer>
#include <iostream>

#include "QtTestSupport.h"
#include "about/AppInfo.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmMassHaul.h"
#include "mainwindow/frmPreview.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtSettings.h"

using namespace earthwork;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::cerr << "usage: window_screenshots PROJECT.ear OUTPUT_FOLDER\n";
    return 1;
  }
  const QDir folder(argv[2]);
  folder.mkpath(".");
  const auto save = [&](QWidget& widget, const char* name) {
    QApplication::processEvents();
    if (!widget.grab().save(folder.filePath(name))) std::cerr << "cannot write " << name << "\n";
  };
  qt::QtDialogs dialogs(kApplicationTitle);
  auto settings = qt::QtSettings::AtFile(folder.filePath("settings.ini"));
  qt::QtClock clock;
  MainViewRelay view;
  ProgramState state(dialogs, view);
  frmMain window(state, view, *settings, clock);
  dialogs.SetParent(&window);
  window.show();
  // Messages are answered with their default button; a log's report is closed at once.
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
  if (QString(argv[1]).endsWith(".log", Qt::CaseInsensitive)) {
    earthwork::testing::WhenShown<frmPreview>([](frmPreview& preview) { preview.close(); });
  }
  window.OpenPath(argv[1]);
  save(window, "main.png");
  window.mnuViewMassHaul();
  if (auto* haul = window.findChild<frmMassHaul*>()) save(*haul, "mass-haul.png");
  return 0;
}
