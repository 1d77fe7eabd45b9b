#include "simulation/ui/CMSetListCtrl.h"

#include <QHeaderView>
#include <QMouseEvent>

#include "monitor/MessageCatalogue.h"
#include "simulation/SlotGridEdit.h"
#include "simulation/ui/SlotCellDelegate.h"
#include "simulation/ui/SlotGridModel.h"

namespace orvane::ui {

namespace {

using simulation::GridColumn;
using simulation::GridMode;

constexpr std::int32_t kNoSelectionMessage = 201;
constexpr std::int32_t kScheduleSettingMessage = 406;

}  // namespace

CMSetListCtrl::CMSetListCtrl(GridMode mode, std::size_t rowCount,
                             const settings::IdentifierDefinition& identifiers,
                             monitor::MessageSink& messages, simulation::GridClipboard* clipboard,
                             QWidget* parent)
    : QTableView(parent),
      model_(new SlotGridModel(mode, rowCount, identifiers, this)),
      delegate_(new SlotCellDelegate(*model_, messages, this)),
      messages_(messages),
      clipboard_(clipboard) {
  setModel(model_);
  setItemDelegate(delegate_);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setWordWrap(false);
  SetUpColumns();
  connect(model_, &SlotGridModel::cellEdited, this, [this](int row, GridColumn column) {
    Q_EMIT cellEdited(row, column);
    Q_EMIT changed();
  });
}

CMSetListCtrl::~CMSetListCtrl() {
  if (clipboard_ != nullptr && clipboard_->lastClicked == &model_->rows()) {
    clipboard_->lastClicked = nullptr;
  }
}

void CMSetListCtrl::SetUpColumns() {
  QHeaderView* header = horizontalHeader();
  header->setMinimumSectionSize(8);
  header->setHighlightSections(false);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  const auto columns = simulation::GridColumns(mode());
  for (std::size_t section = 0; section < columns.size(); ++section) {
    header->resizeSection(static_cast<int>(section), columns[section].width);
  }
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
}

GridMode CMSetListCtrl::mode() const {
  return model_->rows().mode();
}
simulation::SlotGridRows& CMSetListCtrl::Rows() {
  return model_->rows();
}
const simulation::SlotGridRows& CMSetListCtrl::Rows() const {
  return model_->rows();
}

const simulation::SlotRow& CMSetListCtrl::RowCells(int row) const {
  return Rows().cells(static_cast<std::size_t>(row));
}

void CMSetListCtrl::SetRowCells(int row, const simulation::SlotRow& cells) {
  Rows().SetCells(static_cast<std::size_t>(row), cells);
}

const simulation::SimSlot& CMSetListCtrl::StoredSlot(int row) const {
  return Rows().stored(static_cast<std::size_t>(row));
}

void CMSetListCtrl::SetStoredSlot(int row, const simulation::SimSlot& slot) {
  Rows().SetStored(static_cast<std::size_t>(row), slot);
}

void CMSetListCtrl::ShowSlot(int row, const simulation::SimSlot& slot) {
  Rows().ShowSlot(static_cast<std::size_t>(row), slot, model_->identifiers());
}

int CMSetListCtrl::FocusedRow() const {
  const std::optional<std::size_t> focused = Rows().focused();
  return focused ? static_cast<int>(*focused) : -1;
}

void CMSetListCtrl::SelectRow(int row) {
  if (row < 0 || row >= model_->rowCount()) {
    selectionModel()->clearCurrentIndex();
    clearSelection();
    return;
  }
  const QModelIndex cell = model_->index(row, std::max(currentIndex().column(), 0));
  selectionModel()->setCurrentIndex(
      cell, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  scrollTo(cell);
}

int CMSetListCtrl::SectionOf(GridColumn column) const {
  return model_->SectionOf(column);
}

void CMSetListCtrl::SetDoubleClickHandler(DoubleClickHandler handler) {
  doubleClickHandler_ = std::move(handler);
}

bool CMSetListCtrl::EditCell(int row, GridColumn column) {
  if (delegate_->HasOpenEditor() || row < 0 || row >= model_->rowCount()) return false;
  switch (simulation::CellEditAccess(mode(), RowCells(row), column)) {
    case simulation::EditAccess::kNotEditable:
      return false;
    case simulation::EditAccess::kPatternDefined:
      monitor::ShowErrorBox(messages_, simulation::kPatternDefinedText);
      return false;
    case simulation::EditAccess::kEditable:
      break;
  }
  const QModelIndex cell = model_->index(row, SectionOf(column));
  SelectRow(row);
  setCurrentIndex(cell);
  return edit(cell, QAbstractItemView::AllEditTriggers, nullptr);
}

bool CMSetListCtrl::ReactsToClicks() const {
  return mode() != GridMode::kMonitorSchedule && mode() != GridMode::kMonitorInterrupt;
}

void CMSetListCtrl::mousePressEvent(QMouseEvent* event) {
  // An editor whose text did not pass its check stays open; the click that
  // tried to leave it does nothing else.
  if (delegate_->HasOpenEditor()) {
    event->accept();
    return;
  }
  QTableView::mousePressEvent(event);
  if (!ReactsToClicks() || event->button() != Qt::LeftButton) return;
  const QModelIndex cell = indexAt(event->position().toPoint());
  if (cell.isValid() && model_->KindAt(cell) == simulation::CellKind::kCheck) {
    ToggleCheck(cell.row(), model_->ColumnAt(cell.column()));
  }
  NoteClick();
}

void CMSetListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
  const QModelIndex cell = indexAt(event->position().toPoint());
  if (delegate_->HasOpenEditor() || event->button() != Qt::LeftButton || !cell.isValid()) {
    event->accept();
    return;
  }
  const GridColumn column = model_->ColumnAt(cell.column());
  if (doubleClickHandler_ && doubleClickHandler_(cell.row(), column)) return;
  if (!ReactsToClicks()) {
    if (doubleClickHandler_) EditCell(cell.row(), column);
    return;
  }
  if (model_->KindAt(cell) == simulation::CellKind::kCheck) {
    ToggleCheck(cell.row(), column);
  } else if (cell.row() == currentIndex().row()) {
    EditCell(cell.row(), column);
  }
  NoteClick();
}

void CMSetListCtrl::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  Rows().SetFocused(current.isValid() ? std::optional<std::size_t>(current.row()) : std::nullopt);
}

void CMSetListCtrl::ToggleCheck(int row, GridColumn column) {
  simulation::SlotRow cells = RowCells(row);
  const simulation::TickOutcome outcome = simulation::ToggleCheckCell(mode(), cells, column);
  SetRowCells(row, cells);
  if (outcome == simulation::TickOutcome::kRefused) {
    messages_.Show({.caption = simulation::kEnableRefusedCaption,
                    .text = simulation::kEnableRefusedText,
                    .icon = monitor::MessageIcon::kExclamation});
  }
}

void CMSetListCtrl::NoteClick() {
  if (clipboard_ != nullptr) clipboard_->lastClicked = &Rows();
  Q_EMIT changed();
}

simulation::ClipboardOutcome RunGridClipboardAction(
    simulation::GridClipboard& clipboard, simulation::ClipboardAction action,
    const settings::IdentifierDefinition& identifiers, monitor::MessageSink& messages) {
  const simulation::ClipboardOutcome outcome =
      simulation::RunClipboardAction(clipboard, action, identifiers);
  if (outcome == simulation::ClipboardOutcome::kNoSelection) {
    monitor::ShowErrorMessage(messages, kNoSelectionMessage);
  } else if (outcome == simulation::ClipboardOutcome::kRowUnreadable) {
    monitor::ShowErrorMessage(messages, kScheduleSettingMessage);
  }
  return outcome;
}

}  // namespace orvane::ui
