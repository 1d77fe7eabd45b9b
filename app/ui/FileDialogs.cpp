#include "app/ui/FileDialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QStringList>
#include <QUrl>

namespace orvane::ui {

QString QtFilter(std::string_view filter) {
  const QStringList parts = QString::fromUtf8(filter.data(), static_cast<qsizetype>(filter.size()))
                                .split(QLatin1Char('|'), Qt::SkipEmptyParts);
  QStringList names;
  // Pairs of a shown name and its patterns; Qt reads the patterns from the
  // name's parentheses, so the names alone are enough.
  for (qsizetype i = 0; i < parts.size(); i += 2) names << parts[i];
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
  if (!initial.isEmpty() && !initial.contains(QLatin1Char('*'))) dialog.selectFile(initial);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first().toStdString();
}

bool OpenWithDesktop(const std::filesystem::path& document) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(document, error)) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(document.string())));
}

}  // namespace orvane::ui
