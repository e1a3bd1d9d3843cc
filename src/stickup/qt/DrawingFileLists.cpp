#include "stickup/qt/DrawingFileLists.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace earthwork::qt {

namespace {

constexpr int kDirectoryLabelLength = 30;
constexpr int kFolderIndent = 2;

QString Indented(int depth, const QString& name) {
  return QString(depth * kFolderIndent, QLatin1Char(' ')) + name;
}

}  // namespace

DrawingFileLists::DrawingFileLists(const QString& driveC, const QString& startDirectory,
                                   QWidget* parent)
    : QWidget(parent) {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);

  txtFileName_ = new QLineEdit(this);
  txtFileName_->setObjectName("txtFileName");
  File1_ = new QListWidget(this);
  File1_->setObjectName("File1");
  cboFileType_ = new QComboBox(this);
  cboFileType_->setObjectName("cboFileType");
  cboFileType_->addItems({"*.dgn", "*.*"});

  lblDirectory_ = new QLabel(this);
  lblDirectory_->setObjectName("lblDirectory");
  Dir1_ = new QListWidget(this);
  Dir1_->setObjectName("Dir1");
  Drive1_ = new QComboBox(this);
  Drive1_->setObjectName("Drive1");

  grid->addWidget(new QLabel("File Name:", this), 0, 0);
  grid->addWidget(txtFileName_, 1, 0);
  grid->addWidget(File1_, 2, 0);
  grid->addWidget(new QLabel("List of File Types", this), 3, 0);
  grid->addWidget(cboFileType_, 4, 0);
  grid->addWidget(new QLabel("Directories:", this), 0, 1);
  grid->addWidget(lblDirectory_, 1, 1);
  grid->addWidget(Dir1_, 2, 1);
  grid->addWidget(new QLabel("Drives:", this), 3, 1);
  grid->addWidget(Drive1_, 4, 1);

  FillDrives(driveC);
  connect(Drive1_, &QComboBox::activated, this, &DrawingFileLists::DriveChosen);
  connect(Dir1_, &QListWidget::itemActivated, this, &DrawingFileLists::DirectoryActivated);
  connect(File1_, &QListWidget::itemClicked, this, &DrawingFileLists::FileClicked);
  connect(cboFileType_, &QComboBox::currentIndexChanged, this, [this] { FillFiles(); });
  SetDirectory(startDirectory);
}

void DrawingFileLists::FillDrives(const QString& driveC) {
#ifndef Q_OS_WIN
  // Off Windows the fixed "c:\" places live in one folder: list it as c:.
  if (!driveC.isEmpty()) Drive1_->addItem("c: " + QDir::toNativeSeparators(driveC), driveC);
#else
  (void)driveC;
#endif
  for (const QFileInfo& root : QDir::drives()) {
    Drive1_->addItem(QDir::toNativeSeparators(root.absoluteFilePath()), root.absoluteFilePath());
  }
}

void DrawingFileLists::SetDirectory(const QString& path) {
  directory_ = QDir::cleanPath(QDir(path).absolutePath());
  lblDirectory_->setText(QDir::toNativeSeparators(directory_).right(kDirectoryLabelLength));
  FillDirectories();
  FillFiles();
}

QString DrawingFileLists::FileName() const {
  return txtFileName_->text();
}

void DrawingFileLists::SetFileName(const QString& name) {
  txtFileName_->setText(name);
}

void DrawingFileLists::FillDirectories() {
  Dir1_->clear();
  // The open folders from the root down, then the current folder's own.
  QStringList chain;
  for (QDir dir(directory_);;) {
    chain.prepend(dir.absolutePath());
    if (!dir.cdUp()) break;
  }
  int depth = 0;
  for (const QString& folder : chain) {
    const QString name =
        QDir(folder).isRoot() ? QDir::toNativeSeparators(folder) : QDir(folder).dirName();
    auto* item = new QListWidgetItem(Indented(depth++, name), Dir1_);
    item->setData(Qt::UserRole, folder);
    if (folder == directory_) Dir1_->setCurrentItem(item);
  }
  const QDir current(directory_);
  for (const QString& sub :
       current.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
    auto* item = new QListWidgetItem(Indented(depth, sub), Dir1_);
    item->setData(Qt::UserRole, current.filePath(sub));
  }
}

void DrawingFileLists::FillFiles() {
  File1_->clear();
  const QDir dir(directory_);
  File1_->addItems(
      dir.entryList({cboFileType_->currentText()}, QDir::Files, QDir::Name | QDir::IgnoreCase));
}

void DrawingFileLists::DriveChosen(int index) {
  SetDirectory(Drive1_->itemData(index).toString());
}

void DrawingFileLists::DirectoryActivated(QListWidgetItem* item) {
  SetDirectory(item->data(Qt::UserRole).toString());
}

void DrawingFileLists::FileClicked(QListWidgetItem* item) {
  File1_->setCurrentItem(item);
  txtFileName_->setText(item->text());
}

QPushButton* AddOkCancel(QDialog& dialog, QBoxLayout& layout) {
  auto* buttons = new QDialogButtonBox(&dialog);
  QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
  ok->setObjectName("cmdOK");
  ok->setDefault(true);
  QPushButton* cancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
  cancel->setObjectName("cmdCancel");
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  layout.addWidget(buttons);
  return ok;
}

}  // namespace earthwork::qt
