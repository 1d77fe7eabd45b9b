#include "views/ui/FrameHighlightPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/ui/QtText.h"

namespace orvane::ui {

namespace {

// A field shows its pattern character; one that cannot be shown (a stored
// zero byte) leaves the field empty.
QString BitText(char pattern) {
  return pattern > ' ' && pattern <= '~' ? QString(QChar::fromLatin1(pattern)) : QString();
}

QString IdentifierText(std::uint8_t identifier) {
  return QtText(views::FormatHighlightIdentifier(identifier));
}

}  // namespace

FrameHighlightPage::FrameHighlightPage(
    settings::FrameHighlightCondition& condition,
    const std::array<std::string, views::kIoEventCount>& ioEventNames,
    std::span<const std::uint8_t, 64> dataLengths, monitor::MessageSink& messages, QWidget* parent)
    : QWidget(parent),
      condition_(condition),
      ioEventNames_(ioEventNames),
      dataLengths_(dataLengths),
      messages_(messages) {
  enable_ = new QCheckBox("Enable", this);
  enable_->setObjectName("enable");
  connect(enable_, &QCheckBox::clicked, this,
          [this](bool checked) { condition_.enabled = checked ? 1 : 0; });

  frameKind_ = new QRadioButton("Frame", this);
  frameKind_->setObjectName("frameKind");
  ioKind_ = new QRadioButton("I/O Event", this);
  ioKind_->setObjectName("ioKind");
  ioEvent_ = new QComboBox(this);
  ioEvent_->setObjectName("ioEvent");
  for (const std::string& name : ioEventNames_) ioEvent_->addItem(QtText(name));
  connect(frameKind_, &QRadioButton::clicked, this,
          [this] { ChooseKind(settings::kFrameCondition); });
  connect(ioKind_, &QRadioButton::clicked, this,
          [this] { ChooseKind(settings::kIoEventCondition); });
  connect(ioEvent_, &QComboBox::activated, this, &FrameHighlightPage::ChooseIoEvent);

  auto* kinds = new QHBoxLayout;
  kinds->addWidget(frameKind_);
  kinds->addSpacing(16);
  kinds->addWidget(ioKind_);
  kinds->addWidget(ioEvent_);
  kinds->addStretch();

  BuildFrameGroup();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(enable_);
  layout->addLayout(kinds);
  layout->addWidget(frameGroup_);
  layout->addStretch();
}

void FrameHighlightPage::BuildFrameGroup() {
  frameGroup_ = new QGroupBox("Frame Setting", this);
  frameGroup_->setObjectName("frameSetting");
  auto* grid = new QGridLayout(frameGroup_);
  grid->setHorizontalSpacing(2);
  grid->setVerticalSpacing(1);

  grid->addWidget(new QLabel("ID", frameGroup_), 0, 0);
  identifier_ = new QLineEdit(frameGroup_);
  identifier_->setObjectName("id");
  identifier_->setMaxLength(2);
  identifier_->setAlignment(Qt::AlignCenter);
  const int fieldWidth = identifier_->fontMetrics().horizontalAdvance("00") + 12;
  identifier_->setFixedWidth(fieldWidth);
  connect(identifier_, &QLineEdit::editingFinished, this, &FrameHighlightPage::IdentifierFinished);
  auto* identifierRow = new QHBoxLayout;
  identifierRow->addWidget(identifier_);
  identifierRow->addWidget(new QLabel("(Hex)", frameGroup_));
  identifierRow->addStretch();
  grid->addLayout(identifierRow, 0, 1, 1, kBits);

  for (int byte = 0; byte < kDataBytes; ++byte) {
    byteLabels_[byte] = new QLabel(QString("Data%1").arg(byte), frameGroup_);
    grid->addWidget(byteLabels_[byte], 2 + 2 * byte, 0);
    for (int column = 0; column < kBits; ++column) {
      const int bit = kBits - 1 - column;  // the most significant bit on the left
      const QString suffix = QString("%1%2").arg(byte).arg(bit);
      BitCell& cell = bits_[byte][bit];
      cell.cycle = new QPushButton(QString("b%1").arg(bit), frameGroup_);
      cell.cycle->setObjectName("cycle" + suffix);
      cell.cycle->setAutoDefault(false);
      cell.cycle->setFocusPolicy(Qt::NoFocus);
      cell.cycle->setFixedWidth(fieldWidth);
      cell.field = new QLineEdit(frameGroup_);
      cell.field->setObjectName("bit" + suffix);
      cell.field->setMaxLength(1);
      cell.field->setAlignment(Qt::AlignCenter);
      cell.field->setFixedWidth(fieldWidth);
      grid->addWidget(cell.cycle, 1 + 2 * byte, 1 + column);
      grid->addWidget(cell.field, 2 + 2 * byte, 1 + column);
      connect(cell.cycle, &QPushButton::clicked, this, [this, byte, bit] { CycleBit(byte, bit); });
      connect(cell.field, &QLineEdit::textEdited, this,
              [this, byte, bit](const QString& text) { BitEdited(byte, bit, text); });
      connect(cell.field, &QLineEdit::editingFinished, this,
              [this, byte, bit] { BitFinished(byte, bit); });
    }
  }
  grid->setColumnStretch(kBits + 1, 1);
}

char& FrameHighlightPage::PatternOf(int byte, int bit) const {
  return condition_.bitPatterns[kBits * byte + bit];
}

void FrameHighlightPage::Refresh() {
  enable_->setChecked(condition_.enabled != 0);
  // A stored kind that is neither leaves both buttons clear.
  frameKind_->setAutoExclusive(false);
  ioKind_->setAutoExclusive(false);
  frameKind_->setChecked(condition_.kind == settings::kFrameCondition);
  ioKind_->setChecked(condition_.kind == settings::kIoEventCondition);
  frameKind_->setAutoExclusive(true);
  ioKind_->setAutoExclusive(true);
  ioEvent_->setCurrentIndex(condition_.ioEventNumber < views::kIoEventCount
                                ? static_cast<int>(condition_.ioEventNumber)
                                : -1);
  identifier_->setText(IdentifierText(condition_.identifier));
  for (int byte = 0; byte < kDataBytes; ++byte) {
    for (int bit = 0; bit < kBits; ++bit)
      bits_[byte][bit].field->setText(BitText(PatternOf(byte, bit)));
  }
  UpdateEnabled();
}

void FrameHighlightPage::UpdateEnabled() {
  ioEvent_->setEnabled(condition_.kind == settings::kIoEventCondition);
  frameGroup_->setEnabled(condition_.kind == settings::kFrameCondition);
  const int bytes = views::PatternBytes(condition_, dataLengths_);
  for (int byte = 0; byte < kDataBytes; ++byte) {
    const bool editable = byte < bytes;
    byteLabels_[byte]->setEnabled(editable);
    for (const BitCell& cell : bits_[byte]) {
      cell.field->setEnabled(editable);
      cell.cycle->setEnabled(editable);
    }
  }
}

// An I/O event condition always names one of the six events, so that what
// the page shows is what is stored.
void FrameHighlightPage::ChooseKind(std::uint32_t kind) {
  condition_.kind = kind;
  if (kind == settings::kIoEventCondition) {
    const std::uint32_t number =
        condition_.ioEventNumber < views::kIoEventCount ? condition_.ioEventNumber : 0;
    ChooseIoEvent(static_cast<int>(number));
    ioEvent_->setCurrentIndex(static_cast<int>(number));
  }
  UpdateEnabled();
}

void FrameHighlightPage::ChooseIoEvent(int number) {
  if (number < 0 || number >= static_cast<int>(views::kIoEventCount)) return;
  views::SetIoEvent(condition_, static_cast<std::uint32_t>(number),
                    ioEventNames_[static_cast<std::size_t>(number)]);
}

// Checked when the field is left or Enter is pressed, so that a first digit
// is not taken for the identifier. Only an edited field is checked.
void FrameHighlightPage::IdentifierFinished() {
  if (!identifier_->isModified()) return;
  const std::optional<std::uint8_t> identifier =
      views::ParseHighlightIdentifier(identifier_->text().toStdString());
  if (!identifier) {
    // Restored before the box takes the focus, which ends the editing again.
    identifier_->setText(IdentifierText(condition_.identifier));
    messages_.Show(views::kHighlightIdentifierMessage);
    identifier_->setFocus(Qt::OtherFocusReason);
    identifier_->selectAll();
    return;
  }
  condition_.identifier = *identifier;
  identifier_->setText(IdentifierText(*identifier));
  UpdateEnabled();
}

// A character is taken or refused as it is typed; an emptied field waits for
// the next one.
void FrameHighlightPage::BitEdited(int byte, int bit, const QString& text) {
  if (text.isEmpty()) return;
  const char pattern = text.size() == 1 ? text.front().toLatin1() : '\0';
  if (views::IsHighlightBit(pattern)) {
    PatternOf(byte, bit) = pattern;
    return;
  }
  QLineEdit* field = bits_[byte][bit].field;
  field->setText(BitText(PatternOf(byte, bit)));
  messages_.Show(views::kHighlightBitMessage);
  field->setFocus(Qt::OtherFocusReason);
  field->selectAll();
}

// A field left empty shows its pattern again.
void FrameHighlightPage::BitFinished(int byte, int bit) {
  QLineEdit* field = bits_[byte][bit].field;
  if (field->text().isEmpty()) field->setText(BitText(PatternOf(byte, bit)));
}

void FrameHighlightPage::CycleBit(int byte, int bit) {
  char& pattern = PatternOf(byte, bit);
  pattern = views::NextHighlightBit(pattern);
  bits_[byte][bit].field->setText(BitText(pattern));
}

}  // namespace orvane::ui
