#include "pattern/ui/CPatSelectDlg.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

#include "pattern/PatternCheck.h"
#include "pattern/ui/PatternDialogValues.h"

namespace orvane::ui {

namespace {

constexpr std::string_view kPatternFilter = "Pattern File(*.ptn)|*.ptn||";
constexpr int kPreviewLines = 11;
// A longer line is read in several pieces, each counting as a line.
constexpr qint64 kPreviewPieceLength = 511;

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

CPatSelectDlg::CPatSelectDlg(const std::string& currentPath, Mode mode,
                             monitor::MessageSink& messages, const QFont& gridFont,
                             const std::filesystem::path& programFolder, QWidget* parent)
    : QDialog(parent), messages_(messages), programFolder_(programFolder) {
  const bool display = mode == kDisplay;
  setWindowTitle(display ? "Pattern Introduction" : "Select Pattern File");
  auto* layout = new QVBoxLayout(this);

  auto* pathRow = new QHBoxLayout;
  path_ = new QLineEdit(QString::fromStdString(currentPath), this);
  path_->setObjectName("path");
  path_->setReadOnly(display);
  path_->setMinimumWidth(path_->fontMetrics().averageCharWidth() * 56);
  browse_ = new QPushButton("...", this);
  browse_->setObjectName("browse");
  browse_->setAutoDefault(false);
  browse_->setEnabled(!display);
  browse_->setFixedWidth(browse_->fontMetrics().horizontalAdvance("...") + 24);
  connect(browse_, &QPushButton::clicked, this, &CPatSelectDlg::Browse);
  pathRow->addWidget(path_, 1);
  pathRow->addWidget(browse_);
  layout->addLayout(pathRow);

  preview_ = new QPlainTextEdit(this);
  preview_->setObjectName("preview");
  preview_->setReadOnly(true);
  preview_->setFont(gridFont);
  preview_->setLineWrapMode(QPlainTextEdit::NoWrap);
  const QFontMetrics metrics(gridFont);
  preview_->setMinimumSize(metrics.horizontalAdvance(QLatin1Char('0')) * 48,
                           metrics.lineSpacing() * (kPreviewLines + 1));
  layout->addWidget(preview_, 1);

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton("OK", QDialogButtonBox::AcceptRole)->setObjectName("ok");
  buttons->addButton("Cancel", QDialogButtonBox::RejectRole)->setObjectName("cancel");
  connect(buttons, &QDialogButtonBox::accepted, this, &CPatSelectDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CPatSelectDlg::reject);
  layout->addWidget(buttons);

  LoadPreview();
}

std::string CPatSelectDlg::chosenPath() const {
  return path_->text().toStdString();
}

void CPatSelectDlg::accept() {
  const std::string path = chosenPath();
  if (!path.empty()) {
    const pattern::PatternCheckResult check =
        pattern::CheckPatternFile(path, pattern::PatternCheckVariant::kSelect);
    if (!check.accepted()) {
      monitor::ShowErrorBox(messages_, check.message());
      return;
    }
  }
  QDialog::accept();
}

void CPatSelectDlg::Browse() {
  const std::string initialName = (BrowseFolder() / "*.ptn").string();
  const std::optional<std::string> chosen = ChooseFile({.save = false,
                                                        .initialName = initialName,
                                                        .defaultExtension = "ptn",
                                                        .filter = kPatternFilter});
  if (!chosen) return;
  path_->setText(QString::fromStdString(*chosen));
  LoadPreview();
  SharedPatternDialogValues().lastFolder = std::filesystem::path(*chosen).parent_path().string();
}

void CPatSelectDlg::LoadPreview() {
  QByteArray text;
  QFile file(path_->text());
  if (!path_->text().isEmpty() && file.open(QIODevice::ReadOnly)) {
    char piece[kPreviewPieceLength + 1];
    for (int line = 0; line < kPreviewLines; ++line) {
      const qint64 length = file.readLine(piece, sizeof piece);
      if (length <= 0) break;
      text.append(piece, static_cast<qsizetype>(length));
    }
  }
  preview_->setPlainText(QString::fromLatin1(text));
}

std::filesystem::path CPatSelectDlg::BrowseFolder() const {
  const std::filesystem::path current(chosenPath());
  if (current.has_parent_path()) return current.parent_path();
  const std::string& lastFolder = SharedPatternDialogValues().lastFolder;
  if (!lastFolder.empty()) return lastFolder;
  return programFolder_;
}

std::optional<std::string> CPatSelectDlg::ChooseFile(const app::FileDialogRequest& request) {
  if (windows_ != nullptr) return windows_->ChooseFile(request);
  const std::string_view filterName = request.filter.substr(0, request.filter.find('|'));
  const QString chosen =
      QFileDialog::getOpenFileName(this, {}, FromUtf8(request.initialName), FromUtf8(filterName));
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.toStdString();
}

}  // namespace orvane::ui
