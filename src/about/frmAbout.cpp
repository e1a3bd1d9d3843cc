#include "about/frmAbout.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "about/AppInfo.h"
#include "project/Errors.h"

namespace earthwork {

frmAbout::frmAbout(Dialogs& dialogs, QWidget* parent, SystemInfoPorts ports)
    : QDialog(parent), dialogs_(dialogs), ports_(std::move(ports)) {
  setObjectName("frmAbout");
  setWindowTitle(QString("About ") + kApplicationTitle);
  setModal(true);

  auto* icon = new QLabel(this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
  icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

  lblTitle_ = new QLabel(this);
  lblTitle_->setObjectName("lblTitle");
  QFont titleFont = lblTitle_->font();
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
  titleFont.setBold(true);
  lblTitle_->setFont(titleFont);
  lblVersion_ = new QLabel(this);
  lblVersion_->setObjectName("lblVersion");
  auto* description = new QLabel("App Description", this);
  description->setObjectName("lblDescription");
  description->setWordWrap(true);

  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  auto* disclaimer = new QLabel("Warning: ...", this);
  disclaimer->setObjectName("lblDisclaimer");
  disclaimer->setWordWrap(true);

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("cmdOK");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* sysInfo = new QPushButton("&System Info...", this);
  sysInfo->setObjectName("cmdSysInfo");
  connect(sysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo);

  auto* text = new QVBoxLayout;
  text->addWidget(lblTitle_);
  text->addWidget(lblVersion_);
  text->addSpacing(8);
  text->addWidget(description);
  text->addStretch(1);
  auto* top = new QHBoxLayout;
  top->addWidget(icon);
  top->addSpacing(12);
  top->addLayout(text, 1);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(ok);
  buttons->addWidget(sysInfo);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(disclaimer, 1, Qt::AlignTop);
  bottom->addSpacing(12);
  bottom->addLayout(buttons);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 16, 16, 12);
  layout->addLayout(top, 1);
  layout->addWidget(line);
  layout->addLayout(bottom);
  setMinimumWidth(420);

  Form_Load();
}

QString frmAbout::VersionText() {
  return QString("Version %1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
}

void frmAbout::Form_Load() {
  Trap(dialogs_, "Program Error: ", " occured in Form_Load", [&] {
    lblVersion_->setText(VersionText());
    lblTitle_->setText(kApplicationTitle);
  });
}

void frmAbout::cmdSysInfo() {
  StartSysInfo(dialogs_, ports_);
}

}  // namespace earthwork
