// Pictures of the windows for a visual check: the main window on a project,
// the report preview (page 1, page 2, the whole page), the page selection,
// the mass-haul diagram and the About box as PNG files, and the report
// printed as a PDF file. Not a test; run it under a display (e.g. xvfb-run):
//   window_screenshots PROJECT.ear OUTPUT_FOLDER
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTimer>
#include <filesystem>
#include <iostream>

#include "QtTestSupport.h"
#include "about/AppInfo.h"
#include "about/frmAbout.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmMassHaul.h"
#include "mainwindow/frmPrintSelect.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtSettings.h"
#include "printing/qt/QtPageSurface.h"

using namespace earthwork;
using earthwork::testing::WhenShown;

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
  const bool log = QString(argv[1]).endsWith(".log", Qt::CaseInsensitive);
  if (log) WhenShown<frmPreview>([](frmPreview& preview) { preview.close(); });
  window.OpenPath(argv[1]);
  save(window, "main.png");
  if (!log) {
    WhenShown<frmPreview>([&](frmPreview& preview) {
      save(preview, "preview-page1.png");
      preview.mnuForward();
      save(preview, "preview-page2.png");
      preview.FitPage();
      save(preview, "preview-fit-page.png");
      WhenShown<frmPrintSelect>([&](frmPrintSelect& select) {
        save(select, "print-select.png");
        select.cmdDone();
      });
      // With no printer the pages go to a PDF beside the report.
      preview.mnuPrint(1);
      std::filesystem::copy_file(
          qt::QtPageSurface::PdfInsteadOfPrinter(window.State().Report.ReportFileName),
          folder.filePath("selected-pages.pdf").toStdString(),
          std::filesystem::copy_options::overwrite_existing);
      preview.mnuPreviewExit();
    });
    window.mnuFilePrintPreview(0);
  }
  window.mnuViewMassHaul();
  if (auto* haul = window.findChild<frmMassHaul*>()) {
    save(*haul, "mass-haul.png");
    haul->close();
  }
  WhenShown<frmAbout>([&](frmAbout& about) {
    save(about, "about.png");
    about.accept();
  });
  window.mnuHelpAbout();
  return 0;
}
