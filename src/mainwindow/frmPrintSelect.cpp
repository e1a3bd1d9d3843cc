#include "mainwindow/frmPrintSelect.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cctype>
#include <cmath>

#include "platform/qt/Cp1252.h"
#include "project/Errors.h"
#include "project/Format.h"
#include "project/Text.h"

namespace earthwork {

using qt::FromCp1252;
using qt::ToCp1252;

double LeadingWholePart(const std::string& text) {
  const std::string s = TrimLeft(text);
  size_t end = 0;
  if (end < s.size() && (s[end] == '+' || s[end] == '-')) ++end;
  bool dot = false;
  while (end < s.size() &&
         (std::isdigit(static_cast<unsigned char>(s[end])) || (s[end] == '.' && !dot))) {
    dot = dot || s[end] == '.';
    ++end;
  }
  const auto value = ParseNumber(s.substr(0, end));
  return value ? std::floor(*value) : 0.0;
}

int16_t PageBoxValue(const std::string& text) {
  if (Trim(text).empty()) throw ProgramError("The page box is empty");
  const auto value = ParseNumber(text);
  if (!value) throw ProgramError("Not a page number: " + Trim(text));
  const int32_t rounded = RoundHalfEven(*value);
  if (rounded < INT16_MIN || rounded > INT16_MAX) throw ProgramError("Overflow");
  return static_cast<int16_t>(rounded);
}

frmPrintSelect::frmPrintSelect(ProgramState& state, QWidget* parent)
    : QDialog(parent), state_(state) {
  setObjectName("frmPrintSelect");
  setWindowTitle("Select Pages");
  setModal(true);

  FromPage_ = new QLineEdit(this);
  FromPage_->setObjectName("FromPage");
  ToPage_ = new QLineEdit(this);
  ToPage_->setObjectName("ToPage");
  for (QLineEdit* box : {FromPage_, ToPage_}) {
    box->setMaximumWidth(70);
    box->setAlignment(Qt::AlignRight);
    box->installEventFilter(this);
  }
  TotalPage_ = new QLabel(this);
  TotalPage_->setObjectName("TotalPage");

  auto* ok = new QPushButton("&OK", this);
  ok->setObjectName("cmdDone");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &frmPrintSelect::cmdDone);
  auto* cancel = new QPushButton("&Cancel", this);
  cancel->setObjectName("cmdCancel");
  connect(cancel, &QPushButton::clicked, this, &frmPrintSelect::cmdCancel);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel("Select Pages From :", this), 0, 0);
  auto* range = new QHBoxLayout;
  range->addWidget(FromPage_);
  range->addWidget(new QLabel("-", this));
  range->addWidget(ToPage_);
  range->addStretch(1);
  grid->addLayout(range, 0, 1);
  grid->addWidget(new QLabel("Total Number of Pages :", this), 1, 0);
  grid->addWidget(TotalPage_, 1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 16, 16, 12);
  layout->addLayout(grid);
  layout->addSpacing(8);
  layout->addLayout(buttons);

  Form_Load();
}

void frmPrintSelect::Form_Load() {
  Trap(state_.dialogs, " System Error : ", " (frmPrintSelect(Form_load)).", [&] {
    const QString pages = QString::number(state_.Report.PageCount);
    TotalPage_->setText(pages);
    // The whole report unless the user narrows it.
    FromPage_->setText("1");
    ToPage_->setText(pages);
    FromPage_->selectAll();
  });
}

void frmPrintSelect::cmdDone() {
  Trap(state_.dialogs, " System Error : ", " (frmPrintSelect(cmdDone_click)).", [&] {
    if (LeadingWholePart(ToCp1252(FromPage_->text())) < 0) FromPage_->setText("1");
    if (LeadingWholePart(ToCp1252(ToPage_->text())) > state_.Report.PageCount) {
      ToPage_->setText(QString::number(state_.Report.PageCount));
    }
    const int16_t from = PageBoxValue(ToCp1252(FromPage_->text()));
    const int16_t to = PageBoxValue(ToCp1252(ToPage_->text()));
    // An empty range would print nothing: the dialog stays for another.
    if (from > to) {
      throw ProgramError("Page " + std::to_string(from) + " comes after page " +
                         std::to_string(to));
    }
    printFromPage_ = from;
    printToPage_ = to;
    accept();
  });
}

void frmPrintSelect::cmdCancel() {
  Trap(state_.dialogs, " System Error : ", " (frmPrintSelect(cmdCancel_click)).", [&] {
    printFromPage_ = 0;
    printToPage_ = 0;
    reject();
  });
}

bool frmPrintSelect::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || (watched != FromPage_ && watched != ToPage_)) {
    return QDialog::eventFilter(watched, event);
  }
  const QString text = static_cast<QKeyEvent*>(event)->text();
  // Only typed characters pass the filter; editing and navigation keys
  // (arrows, Delete, Escape, Tab) are not characters.
  if (text.size() != 1 || text[0].unicode() < 32 || text[0].unicode() == 127) {
    return QDialog::eventFilter(watched, event);
  }
  bool refused = false;
  const char* suffix = watched == FromPage_ ? " (frmPrintSelect(frompage_KeyPress))."
                                            : " (frmPrintSelect(ToPage_KeyPress)).";
  // A page number is digits only.
  Trap(state_.dialogs, " System Error : ", suffix,
       [&] { refused = text[0] < u'0' || text[0] > u'9'; });
  return refused;
}

}  // namespace earthwork
