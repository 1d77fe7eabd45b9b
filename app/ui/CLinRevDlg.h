// "LIN Revision Select Window": the LIN revision the analyzer works with,
// asked once at start-up (" 1.3" or " 2.0", preset to the current one).
#pragma once

#include <QDialog>
#include <cstdint>
#include <optional>

class QComboBox;

namespace orvane::ui {

class CLinRevDlg final : public QDialog {
 public:
  CLinRevDlg(std::uint32_t current, QWidget* owner);
  // 0 LIN 1.3, 1 LIN 2.0.
  std::uint32_t Revision() const;

  // Runs the dialog; the chosen revision, or nothing when it was closed.
  static std::optional<std::uint32_t> Ask(QWidget* owner, std::uint32_t current);

 private:
  QComboBox* list_;
};

}  // namespace orvane::ui
