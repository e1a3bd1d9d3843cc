#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "platform/ports/PageSurface.h"
#include "platform/ports/Shell.h"
#include "printing/PagePrint.h"
#include "project/ProgramState.h"

class QAction;
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
/// commands.
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

 protected:
  void done(int result) override;

 private:
  void Render();
  void PlaceText1();

  ProgramState& state_;
  const Clock& clock_;
  PrinterFactory openPrinter_;
  QScrollArea* scroll_ = nullptr;
  PreviewPage* page_ = nullptr;
  QPlainTextEdit* Text1_ = nullptr;
  bool shown_ = false;
};

}  // namespace earthwork
