// The "Logging" page of the Option Setup dialog (declared in OptionPages.h).
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/ui/OptionPages.h"
#include "settings/FixedText.h"
#include "settings/LogFileName.h"

namespace orvane::ui {

namespace {

constexpr std::string_view kLogFilter = "Log File(*.log)|*.log|All(*.*)|*.*||";

}  // namespace

OptionLoggingPage::OptionLoggingPage(settings::OptionSettingsExt& ext, const std::string& logPath,
                                     app::WindowRequests& windows, monitor::MessageSink& messages,
                                     QWidget* parent)
    : QWidget(parent), ext_(ext), logPath_(logPath), windows_(windows), messages_(messages) {
  enable_ = new QRadioButton("Enable", this);
  enable_->setObjectName("logEnable");
  disable_ = new QRadioButton("Disable", this);
  disable_->setObjectName("logDisable");
  name_ = new QLineEdit(this);
  name_->setObjectName("logName");
  browse_ = new QPushButton("...", this);
  browse_->setObjectName("logBrowse");
  browse_->setAutoDefault(false);
  browse_->setFixedWidth(browse_->fontMetrics().horizontalAdvance("....") + 16);
  numbering_ = new QCheckBox(" Numbering", this);
  numbering_->setObjectName("logNumbering");
  number_ = new QLineEdit(this);
  number_->setObjectName("logNumber");
  number_->setMaxLength(3);
  number_->setFixedWidth(number_->fontMetrics().horizontalAdvance("0000") + 10);
  clear_ = new QPushButton("Clear", this);
  clear_->setObjectName("logClear");
  clear_->setAutoDefault(false);

  connect(enable_, &QRadioButton::toggled, this, [this] { UpdateEnabling(); });
  connect(browse_, &QPushButton::clicked, this, [this] { Browse(); });
  connect(numbering_, &QCheckBox::clicked, this, [this](bool on) {
    ext_.LogNumbering = on ? 1 : 0;
    UpdateEnabling();
  });
  connect(number_, &QLineEdit::editingFinished, this, [this] { CommitNumber(); });
  connect(clear_, &QPushButton::clicked, this, [this] {
    settings::CopyToField("000", ext_.LogNumber);
    number_->setText(StoredNumber());
  });

  auto* nameRow = new QHBoxLayout;
  nameRow->addWidget(name_, 1);
  nameRow->addWidget(browse_);
  auto* numberRow = new QHBoxLayout;
  numberRow->addWidget(numbering_);
  numberRow->addWidget(number_);
  numberRow->addWidget(clear_);
  numberRow->addStretch();
  auto* switches = new QHBoxLayout;
  switches->addWidget(enable_);
  switches->addWidget(disable_);
  switches->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(switches);
  layout->addWidget(new QLabel("Log-File Name", this));
  layout->addLayout(nameRow);
  layout->addLayout(numberRow);
  layout->addStretch();
}

void OptionLoggingPage::Fill(bool loggingEnabled) {
  (loggingEnabled ? enable_ : disable_)->setChecked(true);
  numbering_->setChecked(ext_.LogNumbering != 0);
  number_->setText(StoredNumber());
  name_->setText(QString::fromStdString(logPath_));
  UpdateEnabling();
}

void OptionLoggingPage::UpdateEnabling() {
  const bool on = enable_->isChecked();
  name_->setEnabled(on);
  browse_->setEnabled(on);
  numbering_->setEnabled(on);
  number_->setEnabled(on && numbering_->isChecked());
  clear_->setEnabled(on && numbering_->isChecked());
}

void OptionLoggingPage::Browse() {
  const std::string initialName = logPath_.empty() ? std::string("*.log") : logPath_;
  const app::FileDialogRequest request{
      .save = true, .initialName = initialName, .defaultExtension = "log", .filter = kLogFilter};
  if (const std::optional<std::string> chosen = windows_.ChooseFile(request)) {
    name_->setText(QString::fromStdString(*chosen));
  }
}

QString OptionLoggingPage::StoredNumber() const {
  const std::string_view number = settings::FieldText(ext_.LogNumber);
  return QString::fromLatin1(number.data(), qsizetype(number.size()));
}

void OptionLoggingPage::CommitNumber() {
  const QString text = number_->text();
  if (text == StoredNumber()) return;
  if (const std::optional<std::string> number = settings::ParseLogNumber(text.toStdString())) {
    settings::CopyToField(*number, ext_.LogNumber);
    number_->setText(StoredNumber());
    return;
  }
  // Restored before the box opens, so that the focus leaving the field for
  // the box finds nothing more to take.
  number_->setText(StoredNumber());
  messages_.Show(settings::kLogNumberMessage);
  number_->setFocus(Qt::OtherFocusReason);
  number_->selectAll();
}

bool OptionLoggingPage::LoggingEnabled() const {
  return enable_->isChecked();
}

std::string OptionLoggingPage::NameText() const {
  return name_->text().toStdString();
}

std::string OptionLoggingPage::Candidate() const {
  return settings::FormLogFileName(NameText(), ext_.LogNumbering != 0,
                                   settings::FieldText(ext_.LogNumber));
}

void OptionLoggingPage::FocusName() {
  name_->setFocus(Qt::OtherFocusReason);
  name_->selectAll();
}

}  // namespace orvane::ui
