// One tab of the "Special Frame Setup" dialog: the page of one special
// frame condition. "Enable"; the condition's kind, a frame ("Frame") or an
// I/O event ("I/O Event", chosen by the names of the I/O channels); the
// group "Frame Setting" with the identifier "ID" "(Hex)" and, for "Data0" …
// "Data7", eight one-character bit fields ("*", "0" or "1") with a button
// above each ("b7" … "b0") that cycles its field.
//
// The page edits the dialog's copy of its condition as the user goes. A
// wrong identifier or bit shows its message through the MessageSink and
// the previous value returns. Bit fields and buttons are enabled only for
// the data bytes below the identifier's data length, and the frame group
// only for a frame condition.
//
// Threads: the user-interface thread only.
#pragma once

#include <QWidget>
#include <array>
#include <span>
#include <string>

#include "monitor/MessageSink.h"
#include "settings/FrameHighlightCondition.h"
#include "views/FrameHighlightEdit.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orvane::ui {

class FrameHighlightPage final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kDataBytes = 8;
  static constexpr int kBits = 8;

  FrameHighlightPage(settings::FrameHighlightCondition& condition,
                   const std::array<std::string, views::kIoEventCount>& ioEventNames,
                   std::span<const std::uint8_t, 64> dataLengths, monitor::MessageSink& messages,
                   QWidget* parent = nullptr);

  // Shows the condition's values again.
  void Refresh();

 private:
  struct BitCell {
    QLineEdit* field = nullptr;
    QPushButton* cycle = nullptr;
  };

  char& PatternOf(int byte, int bit) const;
  void BuildFrameGroup();
  void UpdateEnabled();
  void ChooseKind(std::uint32_t kind);
  void ChooseIoEvent(int number);
  void IdentifierFinished();
  void BitEdited(int byte, int bit, const QString& text);
  void BitFinished(int byte, int bit);
  void CycleBit(int byte, int bit);

  settings::FrameHighlightCondition& condition_;
  const std::array<std::string, views::kIoEventCount>& ioEventNames_;
  std::span<const std::uint8_t, 64> dataLengths_;
  monitor::MessageSink& messages_;

  QCheckBox* enable_;
  QRadioButton* frameKind_;
  QRadioButton* ioKind_;
  QComboBox* ioEvent_;
  QGroupBox* frameGroup_;
  QLineEdit* identifier_ = nullptr;
  std::array<QLabel*, kDataBytes> byteLabels_{};
  std::array<std::array<BitCell, kBits>, kDataBytes> bits_{};
};

}  // namespace orvane::ui
