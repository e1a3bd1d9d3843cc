#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "platform/ports/Dialogs.h"

namespace earthwork::qt {

/// A "Name|pattern|Name|pattern" filter list in Qt's form, one entry per
/// pair. "*.*" becomes "*" so that names without an extension show too.
QStringList ToQtFilters(const std::string& filterList);

/// Message boxes, input boxes and the common file dialogs over Qt widgets,
/// modal to `parent`. Texts are converted from and to Windows-1252.
class QtDialogs : public Dialogs {
 public:
  explicit QtDialogs(QString defaultTitle, QWidget* parent = nullptr)
      : defaultTitle_(std::move(defaultTitle)), parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  Answer MessageBox(const std::string& text, Buttons buttons, Icon icon, const std::string& title,
                    std::optional<Answer> defaultButton) override;
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override;
  std::optional<std::string> OpenFileDialog(const FileDialogSettings& settings) override;
  std::optional<std::string> SaveFileDialog(const FileDialogSettings& settings) override;

 private:
  std::optional<std::string> FileDialog(const FileDialogSettings& settings, bool save);
  QString TitleOr(const std::string& title) const;

  QString defaultTitle_;
  QPointer<QWidget> parent_;
};

}  // namespace earthwork::qt
