// The pages of the Option Setup dialog other than "Frame
// Parameter": each page builds its controls, fills them from the settings
// and carries out its immediate actions (those that take effect when
// clicked, before OK). The dialog (COptionDlg) reads the pages back on
// OK and checks them when a tab is left.
//
// Threads: the user-interface thread only.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/WindowRequests.h"
#include "monitor/MessageSink.h"
#include "settings/OptionRules.h"
#include "settings/OptionSettings.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orvane::ui {

// "Baudrate": the 14 radio buttons of the baud rate table.
class OptionBaudPage final : public QWidget {
 public:
  explicit OptionBaudPage(QWidget* parent = nullptr);
  void Fill(std::uint8_t baudRateCode);
  // The code of the checked button; nothing when none is checked (a code
  // outside the table was read from a file).
  std::optional<std::uint8_t> Checked() const;

 private:
  QButtonGroup* group_;
};

// "Logging": Enable/Disable, the log file name with "...", " Numbering"
// with the 3-digit number and "Clear". Numbering and the number are kept in
// the dialog's copy `ext` of OptionSettingsExt.
class OptionLoggingPage final : public QWidget {
 public:
  OptionLoggingPage(settings::OptionSettingsExt& ext, const std::string& logPath,
                    app::WindowRequests& windows, monitor::MessageSink& messages,
                    QWidget* parent = nullptr);
  void Fill(bool loggingEnabled);

  bool LoggingEnabled() const;
  std::string NameText() const;
  // The name of the log as a run would form it (the log file name rule) from the
  // name field and the copy's numbering.
  std::string Candidate() const;
  // Takes the number field into the copy: a decimal number becomes three
  // digits; anything else shows string 20293 and restores the field.
  void CommitNumber();
  void FocusName();

 private:
  void UpdateEnabling();
  void Browse();
  QString StoredNumber() const;

  settings::OptionSettingsExt& ext_;
  const std::string& logPath_;
  app::WindowRequests& windows_;
  monitor::MessageSink& messages_;
  QRadioButton* enable_;
  QRadioButton* disable_;
  QLineEdit* name_;
  QPushButton* browse_;
  QCheckBox* numbering_;
  QLineEdit* number_;
  QPushButton* clear_;
};

// "Mask": Enable/Disable (written to `options` at once) and the 8 entries
// of the valid identifier field.
class OptionMaskPage final : public QWidget {
 public:
  explicit OptionMaskPage(settings::OptionSettings& options, QWidget* parent = nullptr);
  void Fill(settings::IdentifierFieldMode mode, std::string_view dataRadix);

  bool MaskEnabled() const;
  // Each entry as stored: empty 0xFF, else its identifier. The first
  // rejected entry's index in `rejected`.
  struct Entries {
    std::array<std::uint8_t, settings::kMaskIdCount> ids{};
    std::optional<std::size_t> rejected;
  };
  Entries Read(settings::IdentifierFieldMode mode) const;
  void FocusEntry(std::size_t index);

 private:
  void SetMaskEnabled(bool enabled);

  settings::OptionSettings& options_;
  QRadioButton* enable_;
  QRadioButton* disable_;
  std::array<QLineEdit*, settings::kMaskIdCount> entries_{};
};

// "Pattern": the two pattern modes (written to `options` at once) and the
// 8 fill bytes of "Set the following data".
class OptionPatternPage final : public QWidget {
 public:
  explicit OptionPatternPage(settings::OptionSettings& options, QWidget* parent = nullptr);
  void Fill();
  std::uint32_t ShortPatternMode() const;
  std::uint32_t LongPatternMode() const;
  // Stores each fill byte that reads as hexadecimal; the others keep theirs.
  void StoreFillBytes() const;

 private:
  void UpdateEnabling();

  settings::OptionSettings& options_;
  QRadioButton* shortIgnore_;
  QRadioButton* shortSkip_;
  QRadioButton* longFill_;
  QRadioButton* longSkip_;
  std::array<QLineEdit*, 8> fill_{};
};

// "Wakeup" (LIN 2.0 only): the editable list of wake-up lengths; a typed or
// chosen length is clamped to 50-10000 and rounded down to a multiple of 50
// into the copy `ext`.
class OptionWakeupPage final : public QWidget {
 public:
  explicit OptionWakeupPage(settings::OptionSettingsExt& ext, QWidget* parent = nullptr);
  void Fill();
  // Takes the list's text into the copy (text that is no number leaves the
  // length as it was) and shows the length taken.
  void Commit();

 private:
  settings::OptionSettingsExt& ext_;
  QComboBox* list_;
};

// "Each Mode": "Order of ID" / "Order of Node" into the copy `ext`; Order of
// Node only while a LIN description is loaded.
class OptionEachModePage final : public QWidget {
 public:
  OptionEachModePage(settings::OptionSettingsExt& ext, bool descriptionLoaded,
                     QWidget* parent = nullptr);
  void Fill();

 private:
  settings::OptionSettingsExt& ext_;
  bool descriptionLoaded_;
  QRadioButton* orderOfId_;
  QRadioButton* orderOfNode_;
};

}  // namespace orvane::ui
