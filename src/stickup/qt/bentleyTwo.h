#pragma once

#include <QDialog>
#include <memory>

#include "stickup/StickupSheets.h"

class QLabel;

namespace earthwork::qt {

class CopyOfBentleyDlg;
class DrawingFileLists;

/// The new-drawing dialog: the seed drawing with its "Select" button, the
/// file lists and the new drawing's name. OK copies the seed to the new
/// drawing (asking before replacing one) and closes; Cancel keeps the last
/// chosen drawing. Hidden, never destroyed, so its state lasts for the run.
class bentleyTwo : public QDialog, public NewDrawingDialog {
  Q_OBJECT
 public:
  bentleyTwo(StickupSession& session, Dialogs& dialogs, Shell& shell, const QString& driveC,
             const QString& startDirectory, QWidget* parent = nullptr);
  ~bentleyTwo() override;

  void ShowModal(const std::string& defaultName) override;

  DrawingFileLists& Lists() { return *lists_; }
  /// The seed dialog, created on the first "Select".
  CopyOfBentleyDlg& SeedDialog();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowSeed();
  void cmdSelect_Click();
  void cmdOK_Click();

  StickupSession& session_;
  Dialogs& dialogs_;
  Shell& shell_;
  QString driveC_;
  QLabel* lblSeed_ = nullptr;
  DrawingFileLists* lists_ = nullptr;
  CopyOfBentleyDlg* seedDialog_ = nullptr;
};

}  // namespace earthwork::qt
