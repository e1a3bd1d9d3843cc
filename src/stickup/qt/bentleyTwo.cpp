#include "stickup/qt/bentleyTwo.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/Cp1252.h"
#include "stickup/qt/CopyOfBentleyDlg.h"
#include "stickup/qt/DrawingFileLists.h"

namespace earthwork::qt {

bentleyTwo::bentleyTwo(StickupSession& session, Dialogs& dialogs, Shell& shell,
                       const QString& driveC, const QString& startDirectory, QWidget* parent)
    : QDialog(parent), session_(session), dialogs_(dialogs), shell_(shell), driveC_(driveC) {
  setObjectName("bentleyTwo");
  setWindowTitle("New Drawing");
  auto* layout = new QVBoxLayout(this);

  auto* seedFrame = new QGroupBox("Seed File", this);
  auto* seedRow = new QHBoxLayout(seedFrame);
  lblSeed_ = new QLabel(seedFrame);
  lblSeed_->setObjectName("lblSeed");
  lblSeed_->installEventFilter(this);
  auto* select = new QPushButton("Select", seedFrame);
  select->setObjectName("cmdSelect");
  seedRow->addWidget(lblSeed_, 1);
  seedRow->addWidget(select);
  layout->addWidget(seedFrame);

  lists_ = new DrawingFileLists(driveC, startDirectory, this);
  layout->addWidget(lists_);

  QPushButton* ok = AddOkCancel(*this, *layout);

  connect(select, &QPushButton::clicked, this, &bentleyTwo::cmdSelect_Click);
  connect(ok, &QPushButton::clicked, this, &bentleyTwo::cmdOK_Click);
  ShowSeed();
}

bentleyTwo::~bentleyTwo() = default;

void bentleyTwo::ShowModal(const std::string& defaultName) {
  lists_->SetFileName(FromCoreText(defaultName));
  exec();
}

CopyOfBentleyDlg& bentleyTwo::SeedDialog() {
  if (!seedDialog_) {
    // Start where the seed drawing is, when that folder exists.
    const QFileInfo seed(FromCoreText(shell_.NativePath(session_.SeedPath)));
    const QString start = seed.absoluteDir().exists() ? seed.absolutePath() : driveC_;
    seedDialog_ = new CopyOfBentleyDlg(session_, driveC_, start, this);
    connect(seedDialog_, &CopyOfBentleyDlg::SeedChosen, this, &bentleyTwo::ShowSeed);
  }
  return *seedDialog_;
}

bool bentleyTwo::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lblSeed_ && event->type() == QEvent::MouseButtonPress) ShowSeed();
  return QDialog::eventFilter(watched, event);
}

void bentleyTwo::ShowSeed() {
  lblSeed_->setText(FromCoreText(session_.SeedPath));
}

void bentleyTwo::cmdSelect_Click() {
  SeedDialog().exec();
}

void bentleyTwo::cmdOK_Click() {
  if (AcceptNewDrawing(session_, dialogs_, shell_, ToCorePath(lists_->Directory()),
                       ToCorePath(lists_->FileName()))) {
    accept();
  }
}

}  // namespace earthwork::qt
