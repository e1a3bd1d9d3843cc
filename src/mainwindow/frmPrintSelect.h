#pragma once

#include <QDialog>
#include <cstdint>

#include "project/ProgramState.h"

class QLabel;
class QLineEdit;

namespace earthwork {

/// The page selection dialog: a range of pages to print, first to last
/// page unless changed; the boxes take digits only.
class frmPrintSelect : public QDialog {
  Q_OBJECT
 public:
  frmPrintSelect(ProgramState& state, QWidget* parent = nullptr);

  /// The chosen range; both 0 after Cancel.
  int16_t PrintFromPage() const { return printFromPage_; }
  int16_t PrintToPage() const { return printToPage_; }

  QLineEdit& FromPage() { return *FromPage_; }
  QLineEdit& ToPage() { return *ToPage_; }
  QLabel& TotalPage() { return *TotalPage_; }

 public Q_SLOTS:
  void cmdDone();
  void cmdCancel();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Form_Load();

  ProgramState& state_;
  QLineEdit* FromPage_ = nullptr;
  QLineEdit* ToPage_ = nullptr;
  QLabel* TotalPage_ = nullptr;
  int16_t printFromPage_ = 0;
  int16_t printToPage_ = 0;
};

/// The whole part of the number a page box starts with ("12.7" gives 12,
/// an empty or unreadable box 0).
double LeadingWholePart(const std::string& text);

/// A page box as a 16-bit integer, halves rounded to even; raises
/// ProgramError when the box does not hold a number or it is out of range.
int16_t PageBoxValue(const std::string& text);

}  // namespace earthwork
