#pragma once

#include <QDialog>

#include "stickup/StickupSheets.h"

class QCheckBox;

namespace earthwork::qt {

class DrawingFileLists;

/// The seed-drawing dialog. OK records the chosen seed in the session;
/// Cancel and the window frame leave it unchanged. Hidden, never destroyed,
/// so its lists keep their place for the run.
class CopyOfBentleyDlg : public QDialog {
  Q_OBJECT
 public:
  CopyOfBentleyDlg(StickupSession& session, const QString& driveC, const QString& startDirectory,
                   QWidget* parent = nullptr);
  DrawingFileLists& Lists() { return *lists_; }

 Q_SIGNALS:
  void SeedChosen();

 private:
  void cmdOK_Click();

  StickupSession& session_;
  DrawingFileLists* lists_ = nullptr;
  QCheckBox* chkReadOnly_ = nullptr;
};

}  // namespace earthwork::qt
