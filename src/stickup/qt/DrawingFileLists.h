#pragma once

#include <QString>
#include <QWidget>

class QBoxLayout;
class QComboBox;
class QDialog;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace earthwork::qt {

/// The drive, directory, file-type and file lists with the file-name box
/// that both drawing dialogs share. Choosing a drive opens its root;
/// activating a folder opens it; the file list follows the folder and the
/// file type; clicking a file puts its name into the box.
class DrawingFileLists : public QWidget {
  Q_OBJECT
 public:
  /// `driveC` is the folder shown as drive "c:" off Windows; the lists open
  /// in `startDirectory` with an empty file name.
  DrawingFileLists(const QString& driveC, const QString& startDirectory, QWidget* parent);

  void SetDirectory(const QString& path);
  QString Directory() const { return directory_; }
  QString FileName() const;
  void SetFileName(const QString& name);

 private:
  void FillDrives(const QString& driveC);
  void FillDirectories();
  void FillFiles();
  void DriveChosen(int index);
  void DirectoryActivated(QListWidgetItem* item);
  void FileClicked(QListWidgetItem* item);

  QString directory_;
  QComboBox* Drive1_ = nullptr;
  QListWidget* Dir1_ = nullptr;
  QLabel* lblDirectory_ = nullptr;
  QListWidget* File1_ = nullptr;
  QComboBox* cboFileType_ = nullptr;
  QLineEdit* txtFileName_ = nullptr;
};

/// The OK and Cancel buttons that end both drawing dialogs: Cancel hides the
/// dialog, OK (the default button) is returned for the dialog's own rule.
QPushButton* AddOkCancel(QDialog& dialog, QBoxLayout& layout);

}  // namespace earthwork::qt
