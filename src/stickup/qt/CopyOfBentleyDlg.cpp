#include "stickup/qt/CopyOfBentleyDlg.h"

#include <QCheckBox>
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
  lists_ = new DrawingFileLists(driveC, startDirectory, this);
  layout->addWidget(lists_);
  // Shown as the seed dialog always has been; opening read-only makes no
  // difference to a drawing that is only copied.
  chkReadOnly_ = new QCheckBox("Open File as Read Only", this);
  chkReadOnly_->setObjectName("chkReadOnly");
  layout->addWidget(chkReadOnly_);

  QPushButton* ok = AddOkCancel(*this, *layout);
  connect(ok, &QPushButton::clicked, this, &CopyOfBentleyDlg::cmdOK_Click);
}

void CopyOfBentleyDlg::cmdOK_Click() {
  AcceptSeed(session_, ToCorePath(lists_->Directory()), ToCorePath(lists_->FileName()));
  Q_EMIT SeedChosen();
  accept();
}

}  // namespace earthwork::qt
