#include "pattern/ui/CPatternDlg.h"

#include <QCheckBox>
#include <QDir>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTemporaryFile>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "app/AtomicFile.h"
#include "monitor/MessageCatalogue.h"
#include "pattern/HexScan.h"
#include "pattern/PatternCheck.h"
#include "pattern/ui/PatternSourceLoader.h"

namespace orvane::ui {

namespace {

constexpr std::string_view kSourceFilter = "Source File(*.ptn,*.log)|*.ptn;*.log|All(*.*)|*.*||";
constexpr std::string_view kPatternFilter = "Pattern File(*.ptn)|*.ptn|All(*.*)|*.*||";
constexpr std::int32_t kPatternWriteErrorMessage = 700;
constexpr int kProgressTickMs = 500;

// Wide enough for a usual path.
void SetPathWidth(QLineEdit* field) {
  field->setMinimumWidth(field->fontMetrics().averageCharWidth() * 56);
}

QPushButton* Button(const char* text, const char* name, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  // No button is pressed by Enter: in the editor Enter is a line break.
  button->setAutoDefault(false);
  return button;
}

// Runs the editor check on `bytes` written to a temporary file, which is
// removed again when the check has read it.
pattern::PatternCheckResult CheckAsPatternFile(const QByteArray& bytes) {
  QTemporaryFile file(QDir(QDir::tempPath()).filePath("orvane-pattern-XXXXXX.ptn"));
  if (!file.open() || file.write(bytes) != bytes.size() || !file.flush()) {
    pattern::PatternCheckResult unopened;
    unopened.status = pattern::PatternCheckStatus::kOpenError;
    return unopened;
  }
  return pattern::CheckPatternFile(file.fileName().toStdString(),
                                   pattern::PatternCheckVariant::kEditor);
}

}  // namespace

CPatternDlg::CPatternDlg(PatternDialogValues& values, app::WindowRequests& windows,
                         monitor::MessageSink& messages, const QFont& gridFont, QWidget* parent)
    : QDialog(parent),
      values_(values),
      windows_(windows),
      messages_(messages),
      loader_(new PatternSourceLoader(this)) {
  setWindowTitle("Pattern File Edit");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(MakeSourceRow());
  layout->addWidget(MakeOutputGroup(gridFont), 1);
  layout->addWidget(MakeButtonRow());

  connect(loader_, &PatternSourceLoader::Finished, this, &CPatternDlg::ReadFinished);
  timer_ = new QTimer(this);
  timer_->setInterval(kProgressTickMs);
  connect(timer_, &QTimer::timeout, this, &CPatternDlg::ShowProgress);
  timer_->start();
  SetLoading(false);
  editor_->setFocus();
}

CPatternDlg::~CPatternDlg() = default;

const pattern::ConversionProgress& CPatternDlg::progress() const {
  return loader_->progress();
}

QWidget* CPatternDlg::MakeSourceRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  sourcePath_ = new QLineEdit(row);
  sourcePath_->setObjectName("sourcePath");
  sourcePath_->setReadOnly(true);
  SetPathWidth(sourcePath_);
  read_ = Button("Read", "read", row);
  connect(read_, &QPushButton::clicked, this, &CPatternDlg::Read);
  layout->addWidget(new QLabel("Source File Name", row));
  layout->addWidget(sourcePath_, 1);
  layout->addWidget(read_);
  return row;
}

QWidget* CPatternDlg::MakeOutputGroup(const QFont& gridFont) {
  auto* group = new QGroupBox(" Output Pattern File ", this);
  group->setObjectName("outputGroup");
  auto* grid = new QGridLayout(group);

  patternPath_ = new QLineEdit(group);
  patternPath_->setObjectName("patternPath");
  SetPathWidth(patternPath_);
  save_ = Button("Save", "save", group);
  connect(save_, &QPushButton::clicked, this, &CPatternDlg::Save);
  grid->addWidget(new QLabel("Pattern File Name", group), 0, 0);
  grid->addWidget(patternPath_, 0, 1, 1, 2);
  grid->addWidget(save_, 0, 3);

  filterEnable_ = new QCheckBox("Filter Enable", group);
  filterEnable_->setObjectName("filterEnable");
  filterIdent_ = new QLineEdit(group);
  filterIdent_->setObjectName("filterIdent");
  filterIdent_->setMaxLength(2);
  filterIdent_->setValidator(
      new QRegularExpressionValidator(QRegularExpression("[0-9A-Fa-f]{0,2}"), filterIdent_));
  filterIdent_->setFixedWidth(filterIdent_->fontMetrics().horizontalAdvance("000") + 12);
  filterEnable_->setChecked(values_.filterEnabled);
  filterIdent_->setReadOnly(!values_.filterEnabled);
  ShowFilterIdent();
  connect(filterEnable_, &QCheckBox::toggled, this, &CPatternDlg::FilterToggled);
  connect(filterIdent_, &QLineEdit::editingFinished, this, &CPatternDlg::CommitFilterIdent);
  grid->addWidget(filterEnable_, 1, 0);
  grid->addWidget(filterIdent_, 1, 1, Qt::AlignLeft);

  editor_ = new QPlainTextEdit(group);
  editor_->setObjectName("editor");
  editor_->setFont(gridFont);
  editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
  const QFontMetrics metrics(gridFont);
  editor_->setMinimumSize(metrics.horizontalAdvance(QLatin1Char('0')) * 48,
                          metrics.lineSpacing() * 16);
  grid->addWidget(editor_, 2, 0, 1, 4);
  grid->setColumnStretch(2, 1);
  grid->setRowStretch(2, 1);
  return group;
}

QWidget* CPatternDlg::MakeButtonRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);

  progressRow_ = new QWidget(row);
  auto* progressLayout = new QHBoxLayout(progressRow_);
  progressLayout->setContentsMargins(0, 0, 0, 0);
  progressBar_ = new QProgressBar(progressRow_);
  progressBar_->setObjectName("progress");
  progressBar_->setRange(0, 100);
  cancel_ = Button("Cancel", "cancel", progressRow_);
  connect(cancel_, &QPushButton::clicked, this, [this] {
    loader_->Cancel();
    cancel_->setEnabled(false);
  });
  progressLayout->addWidget(progressBar_, 1);
  progressLayout->addWidget(cancel_);

  QPushButton* ok = Button("OK", "ok", row);
  QPushButton* close = Button("Close", "close", row);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  layout->addWidget(progressRow_, 1);
  layout->addStretch();
  layout->addWidget(ok);
  layout->addWidget(close);
  return row;
}

void CPatternDlg::done(int result) {
  if (loader_->running()) {
    loader_->Stop();
    SetLoading(false);
    Restore();
  }
  QDialog::done(result);
}

void CPatternDlg::FilterToggled(bool on) {
  values_.filterEnabled = on;
  filterIdent_->setReadOnly(!on);
}

void CPatternDlg::CommitFilterIdent() {
  if (const std::optional<std::uint32_t> value =
          pattern::ScanHex(filterIdent_->text().toStdString())) {
    values_.filterIdent = static_cast<std::uint8_t>(*value);
  }
  ShowFilterIdent();
}

void CPatternDlg::ShowFilterIdent() {
  filterIdent_->setText(QString("%1").arg(values_.filterIdent, 2, 16, QLatin1Char('0')));
}

void CPatternDlg::Read() {
  CommitFilterIdent();
  const std::optional<std::string> chosen = windows_.ChooseFile(
      {.save = false, .initialName = {}, .defaultExtension = "ptn", .filter = kSourceFilter});
  if (!chosen) return;
  beforeRead_ = {sourcePath_->text(), patternPath_->text(), editor_->toPlainText()};
  sourcePath_->setText(QString::fromStdString(*chosen));
  editor_->setPlainText(QString::fromLatin1(pattern::kNowLoadingText));
  patternPath_->setText(QString::fromStdString(pattern::PatternOutputName(*chosen)));
  SetLoading(true);
  loader_->Start(*chosen,
                 values_.filterEnabled ? std::optional(values_.filterIdent) : std::nullopt);
}

void CPatternDlg::ReadFinished(const pattern::PatternSourceResult& result) {
  UpdateProgressBar();
  SetLoading(false);
  switch (result.status) {
    case pattern::PatternSourceStatus::kOk:
      editor_->setPlainText(QString::fromLatin1(result.text));
      break;
    case pattern::PatternSourceStatus::kLogEmpty:
      editor_->clear();
      messages_.Show({.caption = "Log File", .text = result.message});
      break;
    case pattern::PatternSourceStatus::kCancelled:
      Restore();
      break;
    case pattern::PatternSourceStatus::kSourceError:
    case pattern::PatternSourceStatus::kOutputError:
      Restore();
      monitor::ShowErrorBox(messages_, result.message);
      break;
  }
}

void CPatternDlg::ShowProgress() {
  if (!loader_->running()) return;
  UpdateProgressBar();
  editor_->setPlainText(QString::fromStdString(pattern::LoadingText(loader_->progress())));
}

void CPatternDlg::UpdateProgressBar() {
  const pattern::ConversionProgress& progress = loader_->progress();
  const std::uint64_t total = progress.totalBytes;
  // A file that grew while it was read may give more bytes than its size.
  const std::uint64_t read = std::min<std::uint64_t>(progress.bytesRead, total);
  progressBar_->setValue(total == 0 ? 0 : static_cast<int>(read * 100 / total));
}

void CPatternDlg::SetLoading(bool loading) {
  if (loading) progressBar_->setValue(0);
  progressRow_->setVisible(loading);
  cancel_->setEnabled(loading);
  read_->setEnabled(!loading);
  save_->setEnabled(!loading);
  filterEnable_->setEnabled(!loading);
  filterIdent_->setEnabled(!loading);
  editor_->setReadOnly(loading);
}

void CPatternDlg::Restore() {
  sourcePath_->setText(beforeRead_.source);
  patternPath_->setText(beforeRead_.pattern);
  editor_->setPlainText(beforeRead_.text);
}

void CPatternDlg::Save() {
  const QByteArray bytes = EditorBytes();
  const pattern::PatternCheckResult check = CheckAsPatternFile(bytes);
  if (!check.accepted()) {
    monitor::ShowErrorBox(messages_, check.message());
    return;
  }
  const std::string proposed = patternPath_->text().toStdString();
  const std::optional<std::string> chosen = windows_.ChooseFile(
      {.save = true, .initialName = proposed, .defaultExtension = "ptn", .filter = kPatternFilter});
  if (!chosen) return;
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
  if (!app::WriteFileAtomically(*chosen, std::span(data, static_cast<std::size_t>(bytes.size())))
           .ok) {
    monitor::ShowErrorMessage(messages_, kPatternWriteErrorMessage);
    return;
  }
  patternPath_->setText(QString::fromStdString(*chosen));
  values_.lastFolder = std::filesystem::path(*chosen).parent_path().string();
}

QByteArray CPatternDlg::EditorBytes() const {
  QString text = editor_->toPlainText();
  text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
  return text.toLatin1();
}

}  // namespace orvane::ui
