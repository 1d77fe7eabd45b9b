#include "app/ui/OptionPages.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "settings/BaudRateTable.h"

namespace orvane::ui {

namespace {

QRadioButton* MakeRadio(const char* text, const QString& name, QWidget* parent) {
  auto* button = new QRadioButton(QString::fromLatin1(text), parent);
  button->setObjectName(name);
  return button;
}

// A two-character hexadecimal entry field.
QLineEdit* MakeByteField(const QString& name, QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(name);
  field->setMaxLength(2);
  field->setFixedWidth(field->fontMetrics().horizontalAdvance("WWW") + 8);
  field->setAlignment(Qt::AlignCenter);
  return field;
}

QHBoxLayout* EnableDisableRow(QRadioButton* enable, QRadioButton* disable) {
  auto* row = new QHBoxLayout;
  row->addWidget(enable);
  row->addWidget(disable);
  row->addStretch();
  return row;
}

}  // namespace

// ---- Baudrate ----

OptionBaudPage::OptionBaudPage(QWidget* parent) : QWidget(parent), group_(new QButtonGroup(this)) {
  // Two columns: codes 0-6 (500 to 25K), then 7-13 (600 to 19200).
  auto* layout = new QGridLayout(this);
  constexpr int kRows = 7;
  for (std::size_t code = 0; code < settings::kBaudRates.size(); ++code) {
    const std::string_view label = settings::kBaudRates[code].label;
    auto* button =
        new QRadioButton(QString::fromLatin1(label.data(), qsizetype(label.size())), this);
    button->setObjectName(QString("baudRate%1").arg(code));
    group_->addButton(button, int(code));
    layout->addWidget(button, int(code) % kRows, int(code) / kRows);
  }
  layout->setColumnStretch(2, 1);
  layout->setRowStretch(kRows, 1);
}

void OptionBaudPage::Fill(std::uint8_t baudRateCode) {
  if (QAbstractButton* button = group_->button(baudRateCode)) button->setChecked(true);
}

std::optional<std::uint8_t> OptionBaudPage::Checked() const {
  const int id = group_->checkedId();
  if (id < 0) return std::nullopt;
  return static_cast<std::uint8_t>(id);
}

// ---- Mask ----

OptionMaskPage::OptionMaskPage(settings::OptionSettings& options, QWidget* parent)
    : QWidget(parent), options_(options) {
  enable_ = MakeRadio("Enable", "maskEnable", this);
  disable_ = MakeRadio("Disable", "maskDisable", this);
  // The mask takes effect when clicked, not on OK (Cancel keeps it).
  connect(enable_, &QRadioButton::clicked, this, [this] { SetMaskEnabled(true); });
  connect(disable_, &QRadioButton::clicked, this, [this] { SetMaskEnabled(false); });

  auto* group = new QGroupBox("Valid Identifier Field (IDEN)", this);
  auto* fields = new QHBoxLayout(group);
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    entries_[i] = MakeByteField(QString("maskId%1").arg(i), group);
    fields->addWidget(entries_[i]);
  }
  fields->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(EnableDisableRow(enable_, disable_));
  layout->addWidget(group);
  layout->addStretch();
}

void OptionMaskPage::Fill(settings::IdentifierFieldMode mode, std::string_view dataRadix) {
  const bool enabled = options_.MaskEnabled != 0;
  (enabled ? enable_ : disable_)->setChecked(true);
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    entries_[i]->setText(
        QString::fromStdString(settings::FormatMaskEntry(options_.MaskIds[i], mode, dataRadix)));
    entries_[i]->setEnabled(enabled);
  }
}

void OptionMaskPage::SetMaskEnabled(bool enabled) {
  options_.MaskEnabled = enabled ? 1 : 0;
  for (QLineEdit* entry : entries_) entry->setEnabled(enabled);
}

bool OptionMaskPage::MaskEnabled() const {
  return enable_->isChecked();
}

OptionMaskPage::Entries OptionMaskPage::Read(settings::IdentifierFieldMode mode) const {
  Entries result;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    // The length selectors of ID+DLC entries are never shown: none selected.
    const settings::MaskEntryResult entry =
        settings::ParseMaskEntry(entries_[i]->text().toStdString(), mode, -1);
    if (entry.error && !result.rejected) result.rejected = i;
    result.ids[i] = entry.value;
  }
  return result;
}

void OptionMaskPage::FocusEntry(std::size_t index) {
  entries_[index]->setFocus(Qt::OtherFocusReason);
  entries_[index]->selectAll();
}

// ---- Pattern ----

OptionPatternPage::OptionPatternPage(settings::OptionSettings& options, QWidget* parent)
    : QWidget(parent), options_(options) {
  auto* shortGroup = new QGroupBox(" DL < Pattern data length ", this);
  shortIgnore_ = MakeRadio("Ignore over data", "shortIgnore", shortGroup);
  shortSkip_ = MakeRadio("Skip 1Pattern", "shortSkip", shortGroup);
  auto* shortLayout = new QVBoxLayout(shortGroup);
  shortLayout->addWidget(shortIgnore_);
  shortLayout->addWidget(shortSkip_);

  auto* longGroup = new QGroupBox(" DL > Pattern data length ", this);
  longFill_ = MakeRadio("Set the following data", "longFill", longGroup);
  longSkip_ = MakeRadio("Skip 1Pattern", "longSkip", longGroup);
  auto* fillRow = new QHBoxLayout;
  fillRow->addSpacing(18);
  for (std::size_t i = 0; i < fill_.size(); ++i) {
    fill_[i] = MakeByteField(QString("fill%1").arg(i), longGroup);
    fillRow->addWidget(fill_[i]);
  }
  fillRow->addStretch();
  auto* longLayout = new QVBoxLayout(longGroup);
  longLayout->addWidget(longFill_);
  longLayout->addLayout(fillRow);
  longLayout->addWidget(longSkip_);

  // The pattern modes take effect when clicked, not on OK (Cancel keeps them).
  connect(shortIgnore_, &QRadioButton::clicked, this, [this] { options_.ShortPatternMode = 0; });
  connect(shortSkip_, &QRadioButton::clicked, this, [this] { options_.ShortPatternMode = 1; });
  connect(longFill_, &QRadioButton::clicked, this, [this] {
    options_.LongPatternMode = 0;
    UpdateEnabling();
  });
  connect(longSkip_, &QRadioButton::clicked, this, [this] {
    options_.LongPatternMode = 1;
    UpdateEnabling();
  });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(shortGroup);
  layout->addWidget(longGroup);
  layout->addStretch();
}

void OptionPatternPage::Fill() {
  (options_.ShortPatternMode == 1 ? shortSkip_ : shortIgnore_)->setChecked(true);
  (options_.LongPatternMode == 1 ? longSkip_ : longFill_)->setChecked(true);
  for (std::size_t i = 0; i < fill_.size(); ++i) {
    fill_[i]->setText(QString::fromStdString(settings::FormatFillByte(options_.FillData[i])));
  }
  UpdateEnabling();
}

void OptionPatternPage::UpdateEnabling() {
  for (QLineEdit* field : fill_) field->setEnabled(!longSkip_->isChecked());
}

std::uint32_t OptionPatternPage::ShortPatternMode() const {
  return shortSkip_->isChecked() ? 1 : 0;
}
std::uint32_t OptionPatternPage::LongPatternMode() const {
  return longSkip_->isChecked() ? 1 : 0;
}

void OptionPatternPage::StoreFillBytes() const {
  for (std::size_t i = 0; i < fill_.size(); ++i) {
    if (const auto value = settings::ParseFillByte(fill_[i]->text().toStdString()))
      options_.FillData[i] = *value;
  }
}

// ---- Wakeup ----

OptionWakeupPage::OptionWakeupPage(settings::OptionSettingsExt& ext, QWidget* parent)
    : QWidget(parent), ext_(ext), list_(new QComboBox(this)) {
  list_->setObjectName("wakeupMicros");
  list_->setEditable(true);
  list_->setInsertPolicy(QComboBox::NoInsert);
  list_->setCompleter(nullptr);  // what is typed stays as typed until it is taken
  for (std::uint32_t micros : settings::kWakeupChoices) list_->addItem(QString::number(micros));
  connect(list_, &QComboBox::activated, this, [this] { Commit(); });
  connect(list_->lineEdit(), &QLineEdit::editingFinished, this, [this] { Commit(); });

  auto* row = new QHBoxLayout;
  row->addWidget(list_);
  row->addWidget(new QLabel("(micro-sec)", this));
  row->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addStretch();
}

void OptionWakeupPage::Fill() {
  const QString text = QString::number(ext_.WakeupMicros);
  list_->setCurrentIndex(list_->findText(text));
  list_->setEditText(text);
}

void OptionWakeupPage::Commit() {
  bool number = false;
  const qlonglong micros = list_->currentText().trimmed().toLongLong(&number);
  if (number) ext_.WakeupMicros = settings::ClampWakeupMicros(micros);
  Fill();
}

// ---- Each Mode ----

OptionEachModePage::OptionEachModePage(settings::OptionSettingsExt& ext, bool descriptionLoaded,
                                       QWidget* parent)
    : QWidget(parent), ext_(ext), descriptionLoaded_(descriptionLoaded) {
  orderOfId_ = MakeRadio("Order of ID", "orderOfId", this);
  orderOfNode_ = MakeRadio("Order of Node", "orderOfNode", this);
  connect(orderOfId_, &QRadioButton::clicked, this,
          [this] { ext_.SortOrder = settings::kOrderOfId; });
  connect(orderOfNode_, &QRadioButton::clicked, this,
          [this] { ext_.SortOrder = settings::kOrderOfNode; });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(orderOfId_);
  layout->addWidget(orderOfNode_);
  layout->addStretch();
}

void OptionEachModePage::Fill() {
  if (!descriptionLoaded_) {
    // Node order comes from the LIN description: without one, Order of ID.
    ext_.SortOrder = settings::kOrderOfId;
    orderOfNode_->setEnabled(false);
  }
  (ext_.SortOrder == settings::kOrderOfNode ? orderOfNode_ : orderOfId_)->setChecked(true);
}

}  // namespace orvane::ui
