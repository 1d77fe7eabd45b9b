// The grid of the slave simulation monitor: 13 columns ("Error", "IDEN",
// "D0"-"D7", "Sum", "Timer/Key", "File") and one row per slave response,
// numbered 1 to 16 at its left. Rows of disabled responses are drawn in the
// palette's disabled text colour.
//
// The grid never edits on its own: a double click reports the cell
// (cellActivated), and the owner opens one editor at a time over the cells
// it chooses, a line edit (OpenLineEditor) or a drop-down (OpenDropDown),
// and decides what an accepted text means. Escape abandons an editor.
//
// Threads: the user-interface thread only.
#pragma once

#include <QPointer>
#include <QTableWidget>
#include <functional>
#include <string>
#include <vector>

#include "simulation/SlaveMonitorCells.h"

class QComboBox;
class QLineEdit;

namespace orvane::ui {

class CSMonitListCtrl final : public QTableWidget {
  Q_OBJECT

 public:
  static constexpr int kRowCount = 16;

  // Gets an accepted editor text; returns true to close the editor, false
  // to keep it open (with its text selected) after a refused entry.
  using EditAcceptor = std::function<bool(const QString& text)>;

  explicit CSMonitListCtrl(QWidget* parent = nullptr);

  // Shows the cells of a row; `enabled` decides how the row is drawn.
  void ShowRow(int row, const simulation::SlaveMonitorRow& cells, bool enabled);
  const simulation::SlaveMonitorRow& RowCells(int row) const;
  bool RowEnabled(int row) const;

  // A line edit over the cells `first` to `last` of `row`, starting with
  // `text` selected; Enter, or leaving it, hands its text to `accept`.
  // Null when another editor is open.
  QLineEdit* OpenLineEditor(int row, unsigned first, unsigned last, const QString& text,
                            int maxLength, EditAcceptor accept);
  // A drop-down over one cell, its list open; the item picked goes to
  // `accept`. Null when another editor is open.
  QComboBox* OpenDropDown(int row, unsigned column, const QStringList& items,
                          const QString& current, EditAcceptor accept);
  bool HasOpenEditor() const { return !editor_.isNull(); }

 Q_SIGNALS:
  // A double click on a cell (column as simulation::SlaveMonitorColumn).
  void cellActivated(int row, unsigned column);

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* object, QEvent* event) override;

 private:
  QRect CellsRect(int row, unsigned first, unsigned last) const;
  void CloseEditor();
  void SetRowColour(int row);

  std::vector<simulation::SlaveMonitorRow> rows_;
  std::vector<bool> enabled_;
  QPointer<QWidget> editor_;
};

}  // namespace orvane::ui
