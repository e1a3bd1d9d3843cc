#include "platform/qt/QtDialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <algorithm>

#include "platform/qt/Cp1252.h"

namespace earthwork::qt {

namespace {

QMessageBox::StandardButtons ButtonsOf(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok:
      return QMessageBox::Ok;
    case Buttons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(Icon icon) {
  switch (icon) {
    case Icon::None:
      return QMessageBox::NoIcon;
    case Icon::Information:
      return QMessageBox::Information;
    case Icon::Question:
      return QMessageBox::Question;
    case Icon::Exclamation:
      return QMessageBox::Warning;
    case Icon::Critical:
      return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButton ButtonOf(Answer answer) {
  switch (answer) {
    case Answer::Ok:
      return QMessageBox::Ok;
    case Answer::Cancel:
      return QMessageBox::Cancel;
    case Answer::Yes:
      return QMessageBox::Yes;
    case Answer::No:
      return QMessageBox::No;
  }
  return QMessageBox::NoButton;
}

/// The answer a box gives when it is closed without a button: Cancel where
/// there is one, else No, else Ok.
Answer EscapeAnswer(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok:
      return Answer::Ok;
    case Buttons::YesNo:
      return Answer::No;
    default:
      return Answer::Cancel;
  }
}

}  // namespace

QStringList ToQtFilters(const std::string& filterList) {
  const QStringList parts = FromCp1252(filterList).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& name = parts[i];
    QString pattern = parts[i + 1];
    pattern.replace(';', ' ');
    QStringList globs = pattern.split(' ', Qt::SkipEmptyParts);
    for (QString& glob : globs) {
      if (glob == "*.*") glob = "*";
    }
    const QString qtPattern = globs.join(' ');
    // Qt reads the patterns from the last parentheses of the entry.
    if (name.endsWith("(" + qtPattern + ")")) {
      filters << name;
    } else {
      filters << name + " (" + qtPattern + ")";
    }
  }
  return filters;
}

QString QtDialogs::TitleOr(const std::string& title) const {
  return title.empty() ? defaultTitle_ : FromCp1252(title);
}

Answer QtDialogs::MessageBox(const std::string& text, Buttons buttons, Icon icon,
                             const std::string& title, std::optional<Answer> defaultButton) {
  QMessageBox box(IconOf(icon), TitleOr(title), FromCoreText(text), ButtonsOf(buttons), parent_);
  if (defaultButton) box.setDefaultButton(ButtonOf(*defaultButton));
  switch (box.exec()) {
    case QMessageBox::Ok:
      return Answer::Ok;
    case QMessageBox::Cancel:
      return Answer::Cancel;
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:
      return EscapeAnswer(buttons);
  }
}

std::optional<std::string> QtDialogs::InputBox(const std::string& prompt, const std::string& title,
                                               const std::string& defaultText) {
  QInputDialog dialog(parent_);
  dialog.setWindowTitle(TitleOr(title));
  dialog.setLabelText(FromCp1252(prompt));
  dialog.setTextValue(FromCp1252(defaultText));
  // Wide enough that the window system shows the whole title beside its
  // buttons.
  const int titleWidth = dialog.fontMetrics().horizontalAdvance(dialog.windowTitle());
  dialog.setMinimumWidth(std::max(320, titleWidth + 160));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return ToCp1252(dialog.textValue());
}

std::optional<std::string> QtDialogs::FileDialog(const FileDialogSettings& settings, bool save) {
  QFileDialog dialog(parent_, save ? QObject::tr("Save As") : QObject::tr("Open"));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // A name that does not exist is the caller's to report; replacing an
  // existing file is asked by the writer.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (save) dialog.setDefaultSuffix("ear");
  const QStringList filters = ToQtFilters(settings.Filter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    const qsizetype index = settings.FilterIndex - 1;
    if (index >= 0 && index < filters.size()) dialog.selectNameFilter(filters[index]);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return ToCorePath(QDir::toNativeSeparators(dialog.selectedFiles().front()));
}

std::optional<std::string> QtDialogs::OpenFileDialog(const FileDialogSettings& settings) {
  return FileDialog(settings, false);
}

std::optional<std::string> QtDialogs::SaveFileDialog(const FileDialogSettings& settings) {
  return FileDialog(settings, true);
}

}  // namespace earthwork::qt
