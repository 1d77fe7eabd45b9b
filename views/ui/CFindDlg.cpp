#include "views/ui/CFindDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/WindowCommands.h"
#include "app/ui/QtText.h"
#include "settings/FixedText.h"
#include "views/FindConditionEdit.h"
#include "views/MonitorFind.h"
#include "views/ui/MonitorWindowKind.h"

namespace orvane::ui {
namespace {

constexpr int kBits = 8;
constexpr int kBytes = static_cast<int>(settings::kFindDataBytes);
// Data bytes per row of the bit patterns.
constexpr int kBytesPerBitRow = 4;

QLineEdit* NarrowField(int characters, int maxLength, QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setMaxLength(maxLength);
  field->setAlignment(Qt::AlignCenter);
  field->setFixedWidth(field->fontMetrics().horizontalAdvance(QLatin1Char('W')) * characters + 12);
  return field;
}

QString BitText(char pattern) {
  return pattern == '\0' ? QString() : QString(QLatin1Char(pattern));
}

QString DataLabel(int byte) {
  return QStringLiteral("Data%1").arg(byte);
}

}  // namespace

CFindDlg::CFindDlg(const app::AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context), condition_(context.configuration.Settings.Find) {
  setWindowTitle(QtText(views::kFindWindowTitle));
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(MakeConditionGroup());
  layout->addWidget(MakeByteFields());
  layout->addWidget(MakeBitFields());
  layout->addWidget(MakeButtons());
  FillIoEventNames();
  Fill();
  UpdateButtons();
}

QWidget* CFindDlg::MakeConditionGroup() {
  auto* group = new QGroupBox(QStringLiteral("Find Condition"), this);
  auto* grid = new QGridLayout(group);
  kindGroup_ = new QButtonGroup(this);
  const auto addKind = [&](const char* text, int kind) {
    auto* radio = new QRadioButton(QString::fromLatin1(text), group);
    kindGroup_->addButton(radio, kind);
    grid->addWidget(radio, kind, 0);
  };
  addKind("I/O Event", settings::kFindIoEvent);
  addKind("Error Frame", settings::kFindErrorFrame);
  addKind("Frame", settings::kFindFrame);

  ioEvent_ = new QComboBox(group);
  grid->addWidget(ioEvent_, settings::kFindIoEvent, 1, 1, 3);

  identifier_ = NarrowField(2, 2, group);
  grid->addWidget(new QLabel(QStringLiteral("ID"), group), settings::kFindFrame, 1, Qt::AlignRight);
  grid->addWidget(identifier_, settings::kFindFrame, 2);
  grid->addWidget(new QLabel(QStringLiteral("(Hex)"), group), settings::kFindFrame, 3);

  dataCompare_ = new QCheckBox(QStringLiteral("Data Compare"), group);
  grid->addWidget(dataCompare_, 3, 0);
  modeGroup_ = new QButtonGroup(this);
  auto* modes = new QHBoxLayout;
  for (const auto& [text, mode] : {std::pair{"Byte", 0}, std::pair{"Bit", 1}}) {
    auto* radio = new QRadioButton(QString::fromLatin1(text), group);
    modeGroup_->addButton(radio, mode);
    modes->addWidget(radio);
  }
  grid->addLayout(modes, 3, 1, 1, 3);

  connect(kindGroup_, &QButtonGroup::idClicked, this, [this](int kind) {
    condition_.kind = static_cast<std::uint8_t>(kind);
    DisarmNext();
    UpdateFields();
  });
  connect(ioEvent_, &QComboBox::activated, this, [this](int index) {
    condition_.ioEventNumber = static_cast<std::uint32_t>(index);
    DisarmNext();
  });
  connect(identifier_, &QLineEdit::textEdited, this, &CFindDlg::DisarmNext);
  connect(identifier_, &QLineEdit::editingFinished, this, [this] { CommitIdentifier(); });
  connect(dataCompare_, &QCheckBox::clicked, this, [this](bool on) {
    condition_.dataCompare = on ? 1 : 0;
    DisarmNext();
    UpdateFields();
  });
  connect(modeGroup_, &QButtonGroup::idClicked, this, [this](int mode) {
    condition_.compareMode = static_cast<std::uint32_t>(mode);
    DisarmNext();
    UpdateFields();
  });
  return group;
}

QWidget* CFindDlg::MakeByteFields() {
  auto* group = new QGroupBox(QStringLiteral("Byte"), this);
  auto* grid = new QGridLayout(group);
  for (int byte = 0; byte < kBytes; ++byte) {
    QLineEdit* field = NarrowField(2, 2, group);
    bytes_[static_cast<std::size_t>(byte)] = field;
    grid->addWidget(new QLabel(DataLabel(byte), group), 0, byte, Qt::AlignCenter);
    grid->addWidget(field, 1, byte, Qt::AlignCenter);
    connect(field, &QLineEdit::textEdited, this, &CFindDlg::DisarmNext);
    connect(field, &QLineEdit::editingFinished, this, [this, byte] { CommitBytePattern(byte); });
  }
  return group;
}

// Per data byte "b7" … "b0" buttons, most significant bit on the left, each
// above its bit's field.
QWidget* CFindDlg::MakeBitFields() {
  bitPanel_ = new QGroupBox(QStringLiteral("Bit"), this);
  auto* grid = new QGridLayout(bitPanel_);
  grid->setHorizontalSpacing(2);
  for (int byte = 0; byte < kBytes; ++byte) {
    const int row = (byte % kBytesPerBitRow) * 2;
    const int column = (byte / kBytesPerBitRow) * (kBits + 1);
    grid->addWidget(new QLabel(DataLabel(byte), bitPanel_), row, column, 2, 1);
    for (int bit = 0; bit < kBits; ++bit) {
      auto* button = new QToolButton(bitPanel_);
      button->setText(QStringLiteral("b%1").arg(bit));
      QLineEdit* field = NarrowField(1, 1, bitPanel_);
      button->setFixedWidth(field->width());
      const int at = column + kBits - bit;
      grid->addWidget(button, row, at);
      grid->addWidget(field, row + 1, at);
      bits_[static_cast<std::size_t>(byte)][static_cast<std::size_t>(bit)] = field;
      bitButtons_[static_cast<std::size_t>(byte)][static_cast<std::size_t>(bit)] = button;
      connect(field, &QLineEdit::textEdited, this, &CFindDlg::DisarmNext);
      connect(field, &QLineEdit::editingFinished, this,
              [this, byte, bit] { CommitBitPattern(byte, bit); });
      connect(button, &QToolButton::clicked, this, [this, byte, bit] {
        char& pattern = condition_.bitPatterns[byte][bit];
        pattern = views::NextFindBitPattern(pattern);
        bitField(byte, bit)->setText(BitText(pattern));
        DisarmNext();
      });
    }
  }
  return bitPanel_;
}

QWidget* CFindDlg::MakeButtons() {
  auto* row = new QWidget(this);
  auto* buttons = new QHBoxLayout(row);
  buttons->setContentsMargins(0, 0, 0, 0);
  const auto add = [&](const char* text) {
    auto* button = new QPushButton(QString::fromLatin1(text), row);
    // Return in a field ends the entry; it never presses a button.
    button->setAutoDefault(false);
    buttons->addWidget(button);
    return button;
  };
  find_ = add("Find");
  next_ = add("Next");
  layout_ = add("Simple");
  close_ = add("Close");
  connect(find_, &QPushButton::clicked, this, &CFindDlg::OnFind);
  connect(next_, &QPushButton::clicked, this, &CFindDlg::OnNext);
  connect(layout_, &QPushButton::clicked, this, [this] {
    ShowDetail(!detailed_);
    DisarmNext();
  });
  connect(close_, &QPushButton::clicked, this, &QWidget::close);
  return row;
}

QLineEdit* CFindDlg::bitField(int byte, int bit) const {
  return bits_[static_cast<std::size_t>(byte)][static_cast<std::size_t>(bit)];
}

QToolButton* CFindDlg::bitButton(int byte, int bit) const {
  return bitButtons_[static_cast<std::size_t>(byte)][static_cast<std::size_t>(bit)];
}

void CFindDlg::FillIoEventNames() {
  const QSignalBlocker blocker(ioEvent_);
  ioEvent_->clear();
  for (const settings::IoChannel& channel : context_.configuration.Settings.Options.IoChannels) {
    ioEvent_->addItem(QtText(settings::FieldText(channel.risingName)));
    ioEvent_->addItem(QtText(settings::FieldText(channel.fallingName)));
  }
  const bool known = condition_.ioEventNumber < static_cast<std::uint32_t>(ioEvent_->count());
  ioEvent_->setCurrentIndex(known ? static_cast<int>(condition_.ioEventNumber) : -1);
}

void CFindDlg::Fill() {
  if (QAbstractButton* kind = kindGroup_->button(condition_.kind)) kind->setChecked(true);
  identifier_->setText(QtText(views::HexByteText(condition_.identifier)));
  dataCompare_->setChecked(condition_.dataCompare != 0);
  if (QAbstractButton* mode = modeGroup_->button(static_cast<int>(condition_.compareMode))) {
    mode->setChecked(true);
  }
  for (int byte = 0; byte < kBytes; ++byte) {
    byteField(byte)->setText(QtText(settings::FieldText(condition_.bytePatterns[byte])));
    for (int bit = 0; bit < kBits; ++bit) {
      bitField(byte, bit)->setText(BitText(condition_.bitPatterns[byte][bit]));
    }
  }
  UpdateFields();
}

int CFindDlg::DataLength() const {
  return context_.configuration.Settings.Identifiers.dataLength[condition_.identifier & 0x3F];
}

void CFindDlg::UpdateFields() {
  const views::FindFieldsOffered offered = views::FieldsOfferedFor(condition_, DataLength());
  ioEvent_->setEnabled(offered.ioEvent);
  identifier_->setEnabled(offered.identifier);
  dataCompare_->setEnabled(offered.dataCompare);
  for (QAbstractButton* mode : modeGroup_->buttons()) mode->setEnabled(offered.compareMode);
  for (int byte = 0; byte < kBytes; ++byte) {
    byteField(byte)->setEnabled(byte < offered.byteFields);
    for (int bit = 0; bit < kBits; ++bit) {
      bitField(byte, bit)->setEnabled(byte < offered.bitFields);
      bitButton(byte, bit)->setEnabled(byte < offered.bitFields);
    }
  }
}

void CFindDlg::UpdateButtons() {
  const bool stopped = context_.state.MonitorStopped != 0;
  find_->setEnabled(stopped);
  next_->setEnabled(stopped && nextArmed_);
}

void CFindDlg::DisarmNext() {
  nextArmed_ = false;
  UpdateButtons();
}

void CFindDlg::ShowDetail(bool detailed) {
  detailed_ = detailed;
  bitPanel_->setVisible(detailed);
  layout_->setText(detailed ? QStringLiteral("Simple") : QStringLiteral("Detail"));
}

void CFindDlg::OnMonitoringChanged(bool monitoring) {
  // A start forgets the last hit, so "Next" waits for a new "Find".
  if (monitoring) nextArmed_ = false;
  UpdateButtons();
}

void CFindDlg::OnViewUpdate(const app::ViewUpdateCodes& codes) {
  if (codes.Monitor == app::kUpdateSettings) FillIoEventNames();
  // The identifier definition may have changed, and the stop completes
  // with update code 6.
  UpdateFields();
  UpdateButtons();
}

void CFindDlg::OnFind() {
  if (!CommitPendingEntries()) return;
  context_.configuration.Settings.Find = condition_;
  nextArmed_ = true;
  UpdateButtons();
  RequestSearch(kUpdateFindFirst);
}

void CFindDlg::OnNext() {
  RequestSearch(kUpdateFindNext);
}

void CFindDlg::RequestSearch(std::int32_t code) {
  app::AppState& state = context_.state;
  if (!state.WindowOpen[app::Window::kMonitor]) app::ToggleWindow(context_, app::Window::kMonitor);
  state.ViewUpdateCode.Monitor = code;
  context_.windows.RefreshAllViews();
}

void CFindDlg::Reject(QLineEdit& field, const QString& previous, std::string_view text) {
  // The previous text first: the field is no longer edited when the box
  // takes the focus away from it.
  field.setText(previous);
  context_.messages.Show(monitor::MessageBoxRequest{.caption = views::kFindWindowTitle,
                                                    .text = text,
                                                    .icon = monitor::MessageIcon::kExclamation});
}

bool CFindDlg::CommitIdentifier() {
  if (!identifier_->isModified()) return true;
  const std::optional<std::uint8_t> identifier =
      views::ParseFindIdentifier(identifier_->text().toStdString());
  if (!identifier) {
    Reject(*identifier_, QtText(views::HexByteText(condition_.identifier)),
           views::kFindIdentifierRangeText);
    return false;
  }
  condition_.identifier = *identifier;
  identifier_->setText(QtText(views::HexByteText(*identifier)));
  UpdateFields();
  return true;
}

bool CFindDlg::CommitBytePattern(int byte) {
  QLineEdit& field = *byteField(byte);
  if (!field.isModified()) return true;
  char(&stored)[3] = condition_.bytePatterns[byte];
  const std::optional<std::string> pattern = views::ParseFindBytePattern(field.text().toStdString());
  if (!pattern) {
    Reject(field, QtText(settings::FieldText(stored)), views::kFindBytePatternRangeText);
    return false;
  }
  settings::CopyToField(*pattern, stored);
  field.setText(QtText(*pattern));
  return true;
}

bool CFindDlg::CommitBitPattern(int byte, int bit) {
  QLineEdit& field = *bitField(byte, bit);
  if (!field.isModified()) return true;
  char& stored = condition_.bitPatterns[byte][bit];
  const std::optional<char> pattern = views::ParseFindBitPattern(field.text().toStdString());
  if (!pattern) {
    Reject(field, BitText(stored), views::kFindBitPatternRangeText);
    return false;
  }
  stored = *pattern;
  field.setText(BitText(stored));
  return true;
}

bool CFindDlg::CommitPendingEntries() {
  if (!CommitIdentifier()) return false;
  for (int byte = 0; byte < kBytes; ++byte) {
    if (!CommitBytePattern(byte)) return false;
    for (int bit = 0; bit < kBits; ++bit) {
      if (!CommitBitPattern(byte, bit)) return false;
    }
  }
  return true;
}

void CFindDlg::reject() {
  close();
}

void CFindDlg::closeEvent(QCloseEvent* event) {
  if (!CommitPendingEntries()) {
    event->ignore();
    return;
  }
  context_.configuration.Settings.Find = condition_;
  event->accept();
}

}  // namespace orvane::ui
