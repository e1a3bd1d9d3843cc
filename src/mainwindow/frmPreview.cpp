#include "mainwindow/frmPreview.h"

#include <QEvent>
#include <QGuiApplication>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "mainwindow/PreviewPage.h"
#include "mainwindow/frmPrintSelect.h"
#include "platform/qt/Cp1252.h"
#include "printing/qt/QtPageSurface.h"
#include "project/Errors.h"

namespace earthwork {

namespace {

constexpr const char* kNavigationSuffix = " (form1(NextPage_Click)).";
constexpr double kZoomStep = 1.25;
constexpr double kMinZoom = 0.25;
constexpr double kMaxZoom = 4.0;
/// The report lines' size on paper.
constexpr double kLinePoints = 8.28;

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

  auto* bar = new QToolBar(this);
  bar->setObjectName("tbPreview");
  BuildToolBar(bar);

  page_ = new PreviewPage;
  Text1_ = new QPlainTextEdit(page_);
  Text1_->setObjectName("Text1");
  Text1_->setReadOnly(true);
  Text1_->setLineWrapMode(QPlainTextEdit::NoWrap);
  Text1_->setFrameShape(QFrame::NoFrame);
  // The page keys turn pages; the text is still selectable with the mouse.
  Text1_->setFocusPolicy(Qt::ClickFocus);
  Text1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll_ = new QScrollArea(this);
  scroll_->setWidget(page_);
  scroll_->setAlignment(Qt::AlignHCenter);
  scroll_->setBackgroundRole(QPalette::Dark);
  scroll_->viewport()->installEventFilter(this);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(menu);
  layout->addWidget(bar);
  layout->addWidget(scroll_);
}

void frmPreview::BuildToolBar(QWidget* bar) {
  auto* tools = static_cast<QToolBar*>(bar);
  tools->setMovable(false);
  tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
  auto add = [this, tools](const QString& caption, const char* name,
                           const QList<QKeySequence>& keys, auto slot, bool onBar = true) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    action->setShortcuts(keys);
    if (!keys.isEmpty()) {
      action->setToolTip(caption + " (" + keys.front().toString(QKeySequence::NativeText) + ")");
    }
    connect(action, &QAction::triggered, this, slot);
    if (onBar) tools->addAction(action);
    addAction(action);  // the keys work wherever the focus is in the window
    return action;
  };
  add("Zoom &Out", "actZoomOut", {QKeySequence::ZoomOut}, &frmPreview::ZoomOut);
  add("Zoom &In", "actZoomIn", {QKeySequence::ZoomIn, QKeySequence("Ctrl+=")}, &frmPreview::ZoomIn);
  add("Fit &Width", "actFitWidth", {QKeySequence("W")}, &frmPreview::FitWidth);
  add("Fit &Page", "actFitPage", {QKeySequence("F")}, &frmPreview::FitPage);
  tools->addSeparator();
  add(
      "Previous Page", "actPreviousPage", {QKeySequence(Qt::Key_PageUp)},
      [this] { GoToPage(state_.Report.CurrentPage - 1); }, false);
  add(
      "Next Page", "actNextPage", {QKeySequence(Qt::Key_PageDown)},
      [this] { GoToPage(state_.Report.CurrentPage + 1); }, false);
  add(
      "First Page", "actFirstPage", {QKeySequence(Qt::Key_Home)}, [this] { GoToPage(1); }, false);
  add(
      "Last Page", "actLastPage", {QKeySequence(Qt::Key_End)},
      [this] { GoToPage(state_.Report.PageCount); }, false);
  auto* label = new QLabel("  Page ", tools);
  pageBox_ = new QLineEdit(tools);
  pageBox_->setObjectName("PageBox");
  pageBox_->setAlignment(Qt::AlignRight);
  pageBox_->setMaximumWidth(pageBox_->fontMetrics().horizontalAdvance("00000") + 12);
  pageBox_->setToolTip("Type a page number and press Enter");
  label->setBuddy(pageBox_);
  connect(pageBox_, &QLineEdit::returnPressed, this,
          [this] { GoToPage(pageBox_->text().toInt()); });
  pageCount_ = new QLabel(tools);
  pageCount_->setObjectName("PageCount");
  tools->addWidget(label);
  tools->addWidget(pageBox_);
  tools->addWidget(pageCount_);
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
  // The page's widest line (after its five blanks) fits across, in at most
  // the printed size.
  qsizetype characters = 100;
  for (QTextBlock block = Text1_->document()->begin(); block.isValid(); block = block.next()) {
    characters = std::max(characters, block.text().size());
  }
  QFont font = MonospacedFont("Courier New", kLinePoints * page_->Zoom());
  // The viewport is not laid out yet while the window is hidden, so the
  // room comes from the geometry just set.
  const double room =
      (to.x() - from.x()) - 2 * Text1_->frameWidth() - 2 * Text1_->document()->documentMargin();
  const double needed =
      QFontMetricsF(font).horizontalAdvance(QString(static_cast<int>(characters) + 1, 'M'));
  if (needed > room) font.setPointSizeF(font.pointSizeF() * room / needed);
  Text1_->setFont(font);
}

void frmPreview::SetZoom(double zoom) {
  page_->SetZoom(std::clamp(zoom, kMinZoom, kMaxZoom));
  PlaceText1();
}

void frmPreview::Refit() {
  if (fit_ == Fit::None) return;
  const QSize room = scroll_->viewport()->size();
  double zoom = page_->ZoomForWidth(room.width());
  if (fit_ == Fit::Page) zoom = std::min(zoom, page_->ZoomForHeight(room.height()));
  if (std::abs(zoom - page_->Zoom()) > 1e-3) SetZoom(zoom);
}

void frmPreview::ZoomIn() {
  fit_ = Fit::None;
  SetZoom(page_->Zoom() * kZoomStep);
}

void frmPreview::ZoomOut() {
  fit_ = Fit::None;
  SetZoom(page_->Zoom() / kZoomStep);
}

void frmPreview::FitWidth() {
  fit_ = Fit::Width;
  Refit();
}

void frmPreview::FitPage() {
  fit_ = Fit::Page;
  Refit();
}

void frmPreview::GoToPage(int page) {
  Trap(state_.dialogs, " System Error : ", kNavigationSuffix, [&] {
    ReportState& report = state_.Report;
    const int to = std::clamp(page, 1, std::max(report.PageCount, 1));
    if (to != report.CurrentPage) {
      report.CurrentPage = static_cast<int16_t>(to);
      report.HeaderPage = report.CurrentPage;
      Render();
    }
    pageBox_->setText(QString::number(report.CurrentPage));
  });
}

bool frmPreview::eventFilter(QObject* watched, QEvent* event) {
  // The page follows the window's size while it fits the width or the page.
  if (event->type() == QEvent::Resize && watched == scroll_->viewport()) Refit();
  return QDialog::eventFilter(watched, event);
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
    pageBox_->setValidator(new QIntValidator(1, std::max(state_.Report.PageCount, 1), pageBox_));
    pageCount_->setText(QString(" of %1 ").arg(state_.Report.PageCount));
    state_.Report.CurrentPage = 1;
    Render();
  });
}

void frmPreview::Render() {
  PlaceText1();
  pageBox_->setText(QString::number(state_.Report.CurrentPage));
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
  PlaceText1();        // its font fits the lines now there
  if (shown_) return;  // the page commands render into the open window
  shown_ = true;
  Refit();
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
    // "Sent to the printer" only when pages went to it: a cancelled range
    // and a failed page say nothing of the kind.
    std::unique_ptr<PageSurface> printer = openPrinter_(state_);
    if (index == 0) {
      if (!mnuRptPrint_click(state_, *printer, clock_, [this] { close(); })) return;
    } else {
      frmPrintSelect select(state_, this);
      if (select.exec() != QDialog::Accepted) return;
      PreparePrinter(state_, *printer);
      bool printed = true;
      for (int p = select.PrintFromPage(); p <= select.PrintToPage(); ++p) {
        state_.Report.CurrentPage = static_cast<int16_t>(p);
        printed = PrintOneByOne(state_, *printer, clock_) && printed;
      }
      printer->EndDoc();
      if (!printed) return;
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
