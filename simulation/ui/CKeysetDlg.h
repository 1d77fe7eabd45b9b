// The "Key Select" dialog of the master setup: "Please enter any key." and
// "(0-9,A-Z,F1-F12,SPACE)" above a read-only field. Every key pressed
// except Enter becomes the chosen key and the field shows its name, or
// "can't regist" for a key no trigger can name; the key is consumed, so
// that Space does not press a button and F10 is an ordinary key here.
// Enter presses OK, whichever button has the focus.
//
// Modal. Threads: the user-interface thread only.
#pragma once

#include <QDialog>
#include <cstdint>
#include <optional>

class QLineEdit;

namespace orvane::ui {

class CKeysetDlg final : public QDialog {
  Q_OBJECT

 public:
  explicit CKeysetDlg(QWidget* parent = nullptr);

  // The last key pressed, when a trigger can name it.
  std::optional<std::int32_t> key() const { return key_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Take(int qtKey);

  QLineEdit* field_;
  std::optional<std::int32_t> key_;
};

}  // namespace orvane::ui
