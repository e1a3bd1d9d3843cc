#include "mainwindow/frmPreview.h"

#include <QGuiApplication>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextDocument>
#include <QVBoxLayout>

#include "mainwindow/PreviewPage.h"
#include "mainwindow/frmPrintSelect.h"
#include "platform/qt/Cp1252.h"
#include "printing/qt/QtPageSurface.h"
#include "project/Errors.h"

namespace earthwork {

namespace {

constexpr const char* kNavigationSuffix = " (form1(NextPage_Click)).";

}  // namespace

PrinterFactory DefaultPrinterFactory() {
  return [](ProgramState& state) -> std::unique_ptr<PageSurface> {
    return qt::QtPageSurface::ForPrinter(
        qt::QtPageSurface::PdfInsteadOfPrinter(state.Report.ReportFileName));
  };
}

frmPreview::frmPreview(ProgramState& state, const Clock& clock, QWidget* parent,
                       PrinterFactory openPrinter)
    : QDialog(parent), state_(state), clock_(clock), openPrinter_(std::move(openPrinter)) {
  setObjectName("frmPreview");
  setWindowTitle("Print Preview");
  setModal(true);

  auto* menu = new QMenuBar(this);
  auto add = [this, menu](const char* caption, const char* name, auto slot) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, slot);
  };
  add("<< Backward", "mnuBack", &frmPreview::mnuBack);
  add("Forward >>", "mnuForward", &frmPreview::mnuForward);
  QMenu* print = menu->addMenu("Print");
  print->setObjectName("mnuPrintMenu");
  QAction* all = print->addAction("Print&All");
  all->setObjectName("mnuPrint0");
  connect(all, &QAction::triggered, this, [this] { mnuPrint(0); });
  QAction* selected = print->addAction("Print&SelectedPages");
  selected->setObjectName("mnuPrint1");
  connect(selected, &QAction::triggered, this, [this] { mnuPrint(1); });
  add("Exit", "mnuPreviewExit", &frmPreview::mnuPreviewExit);

  page_ = new PreviewPage;
  Text1_ = new QPlainTextEdit(page_);
  Text1_->setObjectName("Text1");
  Text1_->setReadOnly(true);
  Text1_->setLineWrapMode(QPlainTextEdit::NoWrap);
  Text1_->setFrameShape(QFrame::NoFrame);
  scroll_ = new QScrollArea(this);
  scroll_->setWidget(page_);
  scroll_->setAlignment(Qt::AlignHCenter);
  scroll_->setBackgroundRole(QPalette::Dark);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setMenuBar(menu);
  layout->addWidget(scroll_);
}

frmPreview::~frmPreview() = default;

void frmPreview::PlaceText1() {
  // The text area covers the page below the column table: from row H - 44
  // on the first page, H - 47 on later ones (their table sits higher), to
  // the bottom of the printable area; a few pixels lower so the unit line
  // of the table stays whole.
  const double w = state_.Report.PageWidth;
  const double h = state_.Report.PageHeight;
  const double top = state_.Report.CurrentPage == 1 ? h - 44 : h - 47;
  const QPoint from = page_->ToPixels(w - 95, top) + QPoint(0, 3);
  const QPoint to = page_->ToPixels(w, h);
  Text1_->setGeometry(QRect(from, to));
  // The widest report line (115 characters after five blanks) fits across.
  constexpr int kLineCharacters = 121;
  QFont font = MonospacedFont("Courier New", 8);
  // The viewport is not laid out yet while the window is hidden, so the
  // room comes from the geometry just set.
  const double room =
      (to.x() - from.x()) - 2 * Text1_->frameWidth() - 2 * Text1_->document()->documentMargin();
  const double needed = QFontMetricsF(font).horizontalAdvance(QString(kLineCharacters, 'M'));
  if (needed > room) font.setPointSizeF(font.pointSizeF() * room / needed);
  Text1_->setFont(font);
}

void frmPreview::ShowFirstPage() {
  Trap(state_.dialogs, "Program Error: ", "occured in form_load", [&] {
    {
      std::unique_ptr<PageSurface> printer = openPrinter_(state_);
      if (!PreparePrinter(state_, *printer)) return;
    }
    page_->SetFontName("courier");
    page_->SetPageSize(state_.Report.PageWidth, state_.Report.PageHeight);
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QSize available = screen ? screen->availableGeometry().size() : QSize(1024, 768);
    const QSize wanted =
        page_->sizeHint() + QSize(scroll_->verticalScrollBar()->sizeHint().width() + 4, 40);
    resize(std::min(wanted.width(), available.width()),
           std::min(wanted.height(), available.height() * 9 / 10));
    state_.Report.CurrentPage = 1;
    Render();
  });
}

void frmPreview::Render() {
  PlaceText1();
  (void)PrintOneByOne(state_, *page_, clock_, this);  // a failure has been shown
}

void frmPreview::BeginPage() {
  page_->Clear();
  Text1_->setReadOnly(false);
  Text1_->clear();
}

void frmPreview::AppendText(const std::string& text) {
  Text1_->moveCursor(QTextCursor::End);
  // The lines come CR LF ended; the text area takes LF alone (it would
  // read a CR as a line break of its own).
  QString line = qt::FromCp1252(text);
  line.remove('\r');
  Text1_->insertPlainText(line);
}

void frmPreview::EndPage() {
  Text1_->setReadOnly(true);
  Text1_->moveCursor(QTextCursor::Start);
  if (shown_) return;  // the page commands render into the open window
  shown_ = true;
  exec();
}

void frmPreview::mnuBack() {
  Trap(state_.dialogs, " System Error : ", kNavigationSuffix, [&] {
    ReportState& report = state_.Report;
    if (report.CurrentPage == 1) {
      state_.dialogs.MessageBox("This is First Page");
      return;
    }
    report.CurrentPage = static_cast<int16_t>(report.CurrentPage - 1);
    report.HeaderPage = report.CurrentPage;
    Render();
  });
}

void frmPreview::mnuForward() {
  Trap(state_.dialogs, " System Error : ", kNavigationSuffix, [&] {
    ReportState& report = state_.Report;
    if (report.CurrentPage == report.PageCount) {
      state_.dialogs.MessageBox("This is last page");
      return;
    }
    if (report.CurrentPage < report.PageCount) {
      report.CurrentPage = static_cast<int16_t>(report.CurrentPage + 1);
      report.HeaderPage = report.CurrentPage;
      Render();
    }
  });
}

void frmPreview::mnuPrint(int index) {
  Trap(state_.dialogs, " Program Error: ", " occured in mnuPrint", [&] {
    std::unique_ptr<PageSurface> printer = openPrinter_(state_);
    if (index == 0) {
      (void)mnuRptPrint_click(state_, *printer, clock_, [this] { close(); });
    } else {
      frmPrintSelect select(state_, this);
      select.exec();
      PreparePrinter(state_, *printer);
      for (int p = select.PrintFromPage(); p <= select.PrintToPage(); ++p) {
        state_.Report.CurrentPage = static_cast<int16_t>(p);
        (void)PrintOneByOne(state_, *printer, clock_);
      }
      printer->EndDoc();
    }
    state_.dialogs.MessageBox("Sent to the printer " + printer->DeviceName());
  });
}

void frmPreview::mnuPreviewExit() {
  Trap(state_.dialogs, "Program Error: ", " occured in mnuPreviewExit", [&] { close(); });
}

void frmPreview::done(int result) {
  // However the window closes, the next report starts its grand summary
  // from zero.
  state_.Report.Totals = GrandTotals{};
  QDialog::done(result);
}

}  // namespace earthwork
