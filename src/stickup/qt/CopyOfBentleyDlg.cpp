#include "stickup/qt/CopyOfBentleyDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/Cp1252.h"
#include "stickup/qt/DrawingFileLists.h"

namespace earthwork::qt {

CopyOfBentleyDlg::CopyOfBentleyDlg(StickupSession& session, const QString& driveC,
                                   const QString& startDirectory, QWidget* parent)
    : QDialog(parent), session_(session) {
  setObjectName("CopyOfBentleyDlg");
  setWindowTitle("Select Seed File");
  auto* layout = new QVBoxLayout(this);
  lists_ = new DrawingFileLists(driveC, this);
  lists_->SetDirectory(startDirectory);
  lists_->SetFileName(QString());
  layout->addWidget(lists_);
  // Shown as the seed dialog always has been; opening read-only makes no
  // difference to a drawing that is only copied.
  chkReadOnly_ = new QCheckBox("Open File as Read Only", this);
  chkReadOnly_->setObjectName("chkReadOnly");
  layout->addWidget(chkReadOnly_);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
  ok->setObjectName("cmdOK");
  ok->setDefault(true);
  QPushButton* cancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
  cancel->setObjectName("cmdCancel");
  layout->addWidget(buttons);
  connect(ok, &QPushButton::clicked, this, &CopyOfBentleyDlg::cmdOK_Click);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CopyOfBentleyDlg::cmdOK_Click() {
  AcceptSeed(session_, ToCorePath(lists_->Directory()), ToCorePath(lists_->FileName()));
  Q_EMIT SeedChosen();
  accept();
}

}  // namespace earthwork::qt
