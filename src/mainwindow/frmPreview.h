#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "platform/ports/PageSurface.h"
#include "platform/ports/Shell.h"
#include "printing/PagePrint.h"
#include "project/ProgramState.h"

class QAction;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QScrollArea;

namespace earthwork {

class PreviewPage;

/// Opens the printer a report goes to: the default printer, or a PDF file
/// beside the report when there is none.
using PrinterFactory = std::function<std::unique_ptr<PageSurface>(ProgramState&)>;

/// The printer factory of this program.
PrinterFactory DefaultPrinterFactory();

/// The report preview: the page furniture on a page surface, the page's
/// report lines in the read-only text area Text1, and the page and print
/// commands. A tool bar zooms (in, out, to the window's width or to the
/// whole page, which then follow the window's size) and has a page box;
/// Page Up, Page Down, Home and End turn the pages.
class frmPreview : public QDialog, public PreviewPane {
  Q_OBJECT
 public:
  frmPreview(ProgramState& state, const Clock& clock, QWidget* parent = nullptr,
             PrinterFactory openPrinter = DefaultPrinterFactory());
  ~frmPreview() override;

  /// Prepares the printer and renders page 1; the window is then shown
  /// modally and this returns when it closes.
  void ShowFirstPage();

  PreviewPage& Page() { return *page_; }
  QPlainTextEdit& Text1() { return *Text1_; }
  QLineEdit& PageBox() { return *pageBox_; }

  /// How the page's size is chosen.
  enum class Fit { None, Width, Page };
  Fit FitMode() const { return fit_; }

  // PreviewPane
  void BeginPage() override;
  void AppendText(const std::string& text) override;
  void EndPage() override;

 public Q_SLOTS:
  void mnuBack();
  void mnuForward();
  /// 0 prints all pages, 1 a range chosen in the page selection dialog.
  void mnuPrint(int index);
  void mnuPreviewExit();
  void ZoomIn();
  void ZoomOut();
  void FitWidth();
  void FitPage();
  /// Shows page `page` (kept within the report's pages); no message at
  /// either end.
  void GoToPage(int page);

 protected:
  void done(int result) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildToolBar(QWidget* bar);
  void Render();
  void PlaceText1();
  void SetZoom(double zoom);
  void Refit();

  ProgramState& state_;
  const Clock& clock_;
  PrinterFactory openPrinter_;
  QScrollArea* scroll_ = nullptr;
  PreviewPage* page_ = nullptr;
  QPlainTextEdit* Text1_ = nullptr;
  QLineEdit* pageBox_ = nullptr;
  QLabel* pageCount_ = nullptr;
  Fit fit_ = Fit::Width;
  bool shown_ = false;
};

}  // namespace earthwork
