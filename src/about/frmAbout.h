#pragma once

#include <QDialog>

#include "about/SystemInfo.h"
#include "platform/ports/Dialogs.h"

class QLabel;
class QPushButton;

namespace earthwork {

/// The About box: title, version, description, disclaimer, OK and the
/// System Info button.
class frmAbout : public QDialog {
  Q_OBJECT
 public:
  frmAbout(Dialogs& dialogs, QWidget* parent = nullptr,
           SystemInfoPorts ports = DefaultSystemInfoPorts());

  /// "Version " followed by major.minor.revision.
  static QString VersionText();

 public Q_SLOTS:
  void cmdSysInfo();

 private:
  void Form_Load();

  Dialogs& dialogs_;
  SystemInfoPorts ports_;
  QLabel* lblTitle_ = nullptr;
  QLabel* lblVersion_ = nullptr;
};

}  // namespace earthwork
