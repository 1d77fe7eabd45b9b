#include "simulation/ui/SlotCellDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QTimer>
#include <algorithm>

#include "simulation/SlotGridEdit.h"
#include "simulation/SlotNames.h"
#include "simulation/ui/SlotGridModel.h"
#include "app/ui/QtText.h"

namespace orvane::ui {

namespace {

using simulation::CellKind;
using simulation::GridColumn;

constexpr char kColumnProperty[] = "gridColumn";
constexpr char kFilledProperty[] = "filled";

GridColumn ColumnOf(const QWidget* editor) {
  return static_cast<GridColumn>(editor->property(kColumnProperty).toULongLong());
}

bool ClosesEditor(const QKeyEvent& key) {
  switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return true;
    default:
      return false;
  }
}

}  // namespace

SlotCellDelegate::SlotCellDelegate(const SlotGridModel& model, monitor::MessageSink& messages,
                                   QObject* parent)
    : QStyledItemDelegate(parent), model_(model), messages_(messages) {}

QWidget* SlotCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                        const QModelIndex& index) const {
  QWidget* editor = nullptr;
  if (model_.KindAt(index) == CellKind::kDropDown) {
    editor = CreateDropDown(parent, index);
  } else {
    auto* line = new QLineEdit(parent);
    line->setFrame(false);
    editor = line;
  }
  editor->setProperty(kColumnProperty, static_cast<qulonglong>(model_.ColumnAt(index.column())));
  openEditor_ = editor;
  return editor;
}

QWidget* SlotCellDelegate::CreateDropDown(QWidget* parent, const QModelIndex& index) const {
  auto* combo = new QComboBox(parent);
  const auto row = static_cast<std::size_t>(index.row());
  for (std::string_view choice : simulation::DropDownChoices(
           model_.rows().mode(), model_.rows().cells(row), model_.ColumnAt(index.column()))) {
    combo->addItem(QtText(choice));
  }
  // The names are wider than their column: the list shows them whole.
  combo->view()->setMinimumWidth(combo->view()->sizeHintForColumn(0) + 8);
  auto* self = const_cast<SlotCellDelegate*>(this);
  connect(combo, &QComboBox::activated, self, [self, combo] { self->CommitAndClose(combo); });
  // The list opens with the editor, as a drop-down cell does.
  QTimer::singleShot(0, combo, [combo] {
    if (combo->isVisible()) combo->showPopup();
  });
  return combo;
}

void SlotCellDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
  if (openEditor_ == editor) openEditor_ = nullptr;
  QStyledItemDelegate::destroyEditor(editor, index);
}

void SlotCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  // Filled once: rows changed by their owner while the user types (a
  // monitor's timer) leave the typed text alone.
  if (editor->property(kFilledProperty).toBool()) return;
  editor->setProperty(kFilledProperty, true);
  const QString text = index.data(SlotGridModel::CellTextRole).toString();
  if (auto* combo = qobject_cast<QComboBox*>(editor)) {
    // An empty "Error" cell stands for "(None)".
    const int current =
        combo->findText(text.isEmpty() ? QtText(simulation::kErrorNames[0]) : text);
    combo->setCurrentIndex(std::max(current, 0));
    return;
  }
  auto* line = static_cast<QLineEdit*>(editor);
  line->setText(QString::fromStdString(simulation::EditorStartText(text.toStdString())));
  line->selectAll();
}

void SlotCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                    const QModelIndex& index) const {
  if (auto* combo = qobject_cast<QComboBox*>(editor)) {
    if (combo->currentIndex() >= 0) model->setData(index, combo->currentText(), Qt::EditRole);
    return;
  }
  const simulation::EditCheck check = simulation::CheckEditedText(
      ColumnOf(editor), static_cast<QLineEdit*>(editor)->text().toStdString());
  if (check.error.empty()) model->setData(index, QString::fromStdString(check.text), Qt::EditRole);
}

bool SlotCellDelegate::Passes(QLineEdit* editor) {
  const simulation::EditCheck check =
      simulation::CheckEditedText(ColumnOf(editor), editor->text().toStdString());
  if (check.error.empty()) return true;
  reporting_ = true;
  monitor::ShowErrorBox(messages_, check.error);
  reporting_ = false;
  editor->setFocus();
  editor->selectAll();
  return false;
}

void SlotCellDelegate::CommitAndClose(QWidget* editor) {
  Q_EMIT commitData(editor);
  Q_EMIT closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool SlotCellDelegate::eventFilter(QObject* object, QEvent* event) {
  auto* editor = qobject_cast<QWidget*>(object);
  if (editor == nullptr || editor != openEditor_)
    return QStyledItemDelegate::eventFilter(object, event);
  auto* line = qobject_cast<QLineEdit*>(editor);

  if (event->type() == QEvent::KeyPress && ClosesEditor(*static_cast<QKeyEvent*>(event))) {
    if (line == nullptr || Passes(line)) CommitAndClose(editor);
    return true;
  }
  if (event->type() == QEvent::FocusOut && line != nullptr) {
    if (reporting_) return true;
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    // The window lost the focus (another window, a menu): the edit goes on
    // when the user comes back.
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return true;
    if (Passes(line)) CommitAndClose(line);
    return true;
  }
  return QStyledItemDelegate::eventFilter(object, event);
}

void SlotCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  if (model_.KindAt(index) == CellKind::kCheck) {
    PaintCheck(painter, option, index);
  } else {
    QStyledItemDelegate::paint(painter, option, index);
  }
}

void SlotCellDelegate::PaintCheck(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
  QStyleOptionViewItem cell = option;
  initStyleOption(&cell, index);
  const QWidget* widget = option.widget;
  QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);

  QStyleOptionButton mark;
  const int size = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget);
  mark.rect = QRect(0, 0, size, size);
  mark.rect.moveCenter(option.rect.center());
  mark.state = QStyle::State_Enabled;
  const bool checked =
      simulation::IsChecked(index.data(SlotGridModel::CellTextRole).toString().toStdString());
  mark.state |= checked ? QStyle::State_On : QStyle::State_Off;
  style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &mark, painter, widget);
}

}  // namespace orvane::ui
