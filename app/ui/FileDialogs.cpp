#include "app/ui/FileDialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>

namespace orvane::ui {

QString QtFilter(std::string_view filter) {
  const QStringList parts = QString::fromUtf8(filter.data(), static_cast<qsizetype>(filter.size()))
                                .split(QLatin1Char('|'), Qt::SkipEmptyParts);
  QStringList names;
  // Pairs of a shown name and its patterns ("*.ptn;*.log"); Qt reads the
  // patterns from parentheses after the name, separated by blanks.
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString name = parts[i];
    const qsizetype open = name.indexOf(QLatin1Char('('));
    if (open >= 0) name.truncate(open);
    names << name + QLatin1Char('(') + parts[i + 1].split(QLatin1Char(';')).join(QLatin1Char(' ')) +
                 QLatin1Char(')');
  }
  return names.join(QStringLiteral(";;"));
}

std::optional<std::string> RunFileDialog(QWidget* owner, const app::FileDialogRequest& request) {
  QFileDialog dialog(owner);
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setNameFilter(QtFilter(request.filter));
  dialog.setDefaultSuffix(QString::fromUtf8(
      request.defaultExtension.data(), static_cast<qsizetype>(request.defaultExtension.size())));
  if (!request.title.empty()) {
    dialog.setWindowTitle(
        QString::fromUtf8(request.title.data(), static_cast<qsizetype>(request.title.size())));
  }
  const QString initial = QString::fromUtf8(request.initialName.data(),
                                            static_cast<qsizetype>(request.initialName.size()));
  // A wildcard name ("<folder>/*.ptn") only names the folder to start in.
  if (initial.contains(QLatin1Char('*'))) {
    const QString folder = QFileInfo(initial).path();
    if (!folder.isEmpty() && folder != QLatin1String(".")) dialog.setDirectory(folder);
  } else if (!initial.isEmpty()) {
    dialog.selectFile(initial);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first().toStdString();
}

bool OpenWithDesktop(const std::filesystem::path& document) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(document, error)) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(document.string())));
}

}  // namespace orvane::ui
