// Driving the simulation windows' editing grid as a user does (clicks,
// double clicks into the in-place editors, typing, the drop-down lists),
// and answering modal dialogs that a command opens and waits for.
#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "simulation/SlotGrid.h"
#include "simulation/ui/CMSetListCtrl.h"

namespace orvane::ui::testing {

inline QPoint CellCenter(CMSetListCtrl& grid, int row, simulation::GridColumn column) {
  return grid.visualRect(grid.model()->index(row, grid.SectionOf(column))).center();
}

inline void ClickCell(CMSetListCtrl& grid, int row, simulation::GridColumn column) {
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCenter(grid, row, column));
}

// A double click: the first click selects the row.
inline void DoubleClickCell(CMSetListCtrl& grid, int row, simulation::GridColumn column) {
  ClickCell(grid, row, column);
  QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, CellCenter(grid, row, column));
}

inline QWidget* CellEditor(CMSetListCtrl& grid, int row, simulation::GridColumn column) {
  return grid.indexWidget(grid.model()->index(row, grid.SectionOf(column)));
}

inline QString CellText(const CMSetListCtrl& grid, int row, simulation::GridColumn column) {
  return QString::fromStdString(grid.RowCells(row)[column]);
}

// Double click, type, Enter; false when no line editor opened.
inline bool TypeInCell(CMSetListCtrl& grid, int row, simulation::GridColumn column,
                       const QString& text) {
  DoubleClickCell(grid, row, column);
  auto* editor = qobject_cast<QLineEdit*>(CellEditor(grid, row, column));
  if (editor == nullptr) return false;
  QTest::keyClicks(editor, text);
  QTest::keyClick(editor, Qt::Key_Return);
  return true;
}

// Double click, pick `item` in the list that opens, Enter; false when the
// drop-down did not open, lacks the item or stays open.
inline bool ChooseInCell(CMSetListCtrl& grid, int row, simulation::GridColumn column,
                         const QString& item) {
  DoubleClickCell(grid, row, column);
  auto* combo = qobject_cast<QComboBox*>(CellEditor(grid, row, column));
  if (combo == nullptr || !QTest::qWaitFor([combo] { return combo->view()->isVisible(); })) {
    return false;
  }
  const int target = combo->findText(item);
  if (target < 0) return false;
  for (int at = combo->view()->currentIndex().row(); at < target; ++at) {
    QTest::keyClick(combo->view(), Qt::Key_Down);
  }
  QTest::keyClick(combo->view(), Qt::Key_Return);
  return QTest::qWaitFor([&] { return CellEditor(grid, row, column) == nullptr; });
}

// Runs `act` on the modal dialog of type T as soon as it is up, from the
// event loop of whatever waits for it; gives up after five seconds. A
// dialog that `act` leaves open (a failed check returned early) is
// rejected, so that the test does not wait for it forever.
template <typename T>
void WhenModal(std::function<void(T&)> act) {
  auto* poll = new QTimer;
  auto* deadline = new QDeadlineTimer(5000);
  QObject::connect(poll, &QTimer::timeout, [poll, deadline, act = std::move(act)] {
    QPointer<T> dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (dialog == nullptr && !deadline->hasExpired()) return;
    poll->stop();
    poll->deleteLater();
    delete deadline;
    if (dialog == nullptr) return;
    act(*dialog);
    if (dialog->isVisible()) dialog->reject();
  });
  poll->start(10);
}

}  // namespace orvane::ui::testing
