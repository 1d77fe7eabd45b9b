// The slave simulation setup ("Slave Simulation"): the 16 slave responses
// in the editing grid (mode 4), the clipboard buttons "Cut", "Copy",
// "Overwrite Paste", "Insert Paste" and "Delete" with their accelerators
// (Ctrl or Alt with C, X, V, S), "Key" and "Pattern" for the focused row,
// the "Master ID" edit, and OK and Cancel.
//
// The seven editing buttons start disabled; the first change the grid
// reports enables them (the pastes once a row was copied or cut). On every
// change the rows whose "Pat" is on and that have a pattern file show the
// first suitable row of the file; a new "IDEN" in such a row, and the
// "Pattern" button, preview with the warning "No proper data found for the
// slot in this pattern file." when nothing qualifies.
//
// OK stores every row into the responses and the master ID (even when a
// check fails: the main frame's copy undoes that on Cancel) and closes only
// when every check passed; otherwise the failing row is selected and its
// text shown. Message boxes go through the application's MessageSink.
//
// Modal. Threads: the user-interface thread only.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

#include "app/ui/ShellView.h"
#include "simulation/SlotClipboard.h"
#include "simulation/SlotGrid.h"

class QLineEdit;
class QPushButton;

namespace orvane::ui {

class CMSetListCtrl;

class CSSimSetDlg final : public QDialog {
  Q_OBJECT

 public:
  static constexpr std::size_t kRowCount = 16;

  explicit CSSimSetDlg(const ShellServices& services, QWidget* parent = nullptr);

  CMSetListCtrl& list() const { return *list_; }
  QLineEdit& masterIdField() const { return *masterId_; }

 public Q_SLOTS:
  void accept() override;

 private:
  enum Button { kCut, kCopy, kOverwritePaste, kInsertPaste, kDelete, kKey, kPattern, kButtonCount };

  void BuildForm();
  void AddAccelerators();
  void ShowResponses();
  void OnListChanged();
  void OnCellEdited(int row, simulation::GridColumn column);
  void RunClipboard(simulation::ClipboardAction action);
  void OnKey();
  void OnPattern();
  // The focused row, or -1 after message 201.
  int FocusedRowOrComplain();
  // Previews a row that uses a pattern file (see PreviewSlavePattern);
  // false when nothing qualified.
  bool Preview(int row);
  void PreviewWithWarning(int row);
  void SelectAndFocus(int row);

  const ShellServices services_;
  simulation::GridClipboard clipboard_;
  CMSetListCtrl* list_ = nullptr;
  QLineEdit* masterId_ = nullptr;
  std::array<QPushButton*, kButtonCount> buttons_{};
  bool buttonsEnabled_ = false;
};

}  // namespace orvane::ui
