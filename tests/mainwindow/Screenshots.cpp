// Pictures of the windows for a visual check: the main window on a project
// at its default size, an input box, the report preview (fitting the width,
// wider, the whole page), the page selection dialog, the mass-haul diagram
// and the About box, saved
// as PNG files, and the report printed both ways as PDF files. Not a test;
// run it under a display (e.g. xvfb-run):
//   window_screenshots PROJECT.ear OUTPUT_FOLDER
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
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

namespace {

void Save(QWidget& widget, const QString& folder, const char* name) {
  const QString path = QDir(folder).filePath(name);
  if (!widget.grab().save(path)) std::cerr << "cannot write " << path.toStdString() << "\n";
}

/// The embankment box, an input box, the preview and the page selection,
/// and the report printed both ways.
void PictureTheProjectDialogs(frmMain& window, const QString& folder) {
  // A group measured in embankment: the balance factor box is disabled.
  window.findChild<QCheckBox*>("chkEmbankment")->click();
  QApplication::processEvents();
  Save(window, folder, "main-embankment.png");

  earthwork::testing::WhenShown<QInputDialog>([&](QInputDialog& input) {
    QApplication::processEvents();
    Save(input, folder, "input-box.png");
    input.reject();
  });
  if (auto* insert = window.findChild<QAction*>("mnuGroupInsert")) insert->trigger();

  earthwork::testing::WhenShown<frmPreview>([&](frmPreview& preview) {
    QApplication::processEvents();
    Save(preview, folder, "preview-page1.png");
    preview.mnuForward();
    QApplication::processEvents();
    Save(preview, folder, "preview-page2.png");
    preview.resize(preview.width() * 3 / 2, preview.height());
    QApplication::processEvents();
    Save(preview, folder, "preview-wider.png");
    preview.FitPage();
    QApplication::processEvents();
    Save(preview, folder, "preview-fit-page.png");
    earthwork::testing::WhenShown<frmPrintSelect>([&](frmPrintSelect& select) {
      QApplication::processEvents();
      Save(select, folder, "print-select.png");
      select.cmdDone();
    });
    // Print Selected Pages, then Print All (which ends the preview); with
    // no printer the pages go to a PDF beside the report.
    preview.mnuPrint(1);
    const std::string pdf =
        qt::QtPageSurface::PdfInsteadOfPrinter(window.State().Report.ReportFileName);
    std::filesystem::copy_file(pdf, QDir(folder).filePath("selected-pages.pdf").toStdString(),
                               std::filesystem::copy_options::overwrite_existing);
    preview.mnuPrint(0);
    std::filesystem::copy_file(pdf, QDir(folder).filePath("all-pages.pdf").toStdString(),
                               std::filesystem::copy_options::overwrite_existing);
  });
  window.mnuFilePrintPreview(0);
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
  // A log opens with its report shown: closed at once, the log's pictures
  // are the main window and its mass-haul diagram.
  const bool log = QString(argv[1]).endsWith(".log", Qt::CaseInsensitive);
  if (log) earthwork::testing::WhenShown<frmPreview>([](frmPreview& preview) { preview.close(); });
  window.OpenPath(argv[1]);
  QApplication::processEvents();
  // The whole window, frame and title included, at its default size.
  Save(window, folder, "main.png");
  if (QScreen* screen = window.screen()) {
    screen->grabWindow(0)
        .copy(window.frameGeometry())
        .save(QDir(folder).filePath("main-frame.png"));
  }
  if (!log) PictureTheProjectDialogs(window, folder);

  // The mass-haul diagram of the group shown, whole and zoomed in.
  window.mnuViewMassHaul();
  QApplication::processEvents();
  if (auto* haul = window.findChild<frmMassHaul*>()) {
    Save(*haul, folder, "mass-haul.png");
    haul->Diagram().Zoom(2.5, haul->Diagram().Haul().length * 0.7);
    QApplication::processEvents();
    Save(*haul, folder, "mass-haul-zoomed.png");
    haul->close();
  }

  earthwork::testing::WhenShown<frmAbout>([&](frmAbout& about) {
    Save(about, folder, "about.png");
    about.accept();
  });
  window.mnuHelpAbout();
  return 0;
}
