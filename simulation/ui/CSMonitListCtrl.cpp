#include "simulation/ui/CSMonitListCtrl.h"
#include "app/ui/QtText.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>

namespace orvane::ui {

namespace {

constexpr int kRowPitch = 19;
constexpr char kEditorName[] = "cellEditor";

}  // namespace

CSMonitListCtrl::CSMonitListCtrl(QWidget* parent)
    : QTableWidget(kRowCount, static_cast<int>(simulation::kSlaveColumnCount), parent),
      rows_(kRowCount),
      enabled_(kRowCount, false) {
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setWordWrap(false);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

  QHeaderView* header = horizontalHeader();
  header->setMinimumSectionSize(8);
  header->setHighlightSections(false);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  QStringList titles;
  for (std::size_t column = 0; column < simulation::kSlaveMonitorColumns.size(); ++column) {
    const simulation::SlaveMonitorColumnLayout& layout = simulation::kSlaveMonitorColumns[column];
    titles << QtText(layout.title);
    header->resizeSection(static_cast<int>(column), layout.width);
  }
  setHorizontalHeaderLabels(titles);

  QStringList numbers;
  for (int row = 0; row < kRowCount; ++row) numbers << QString::number(row + 1);
  setVerticalHeaderLabels(numbers);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(std::max(kRowPitch, fontMetrics().height() + 4));
  verticalHeader()->setHighlightSections(false);

  for (int row = 0; row < kRowCount; ++row) {
    for (int column = 0; column < columnCount(); ++column) {
      auto* item = new QTableWidgetItem;
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      setItem(row, column, item);
    }
    SetRowColour(row);
  }
}

void CSMonitListCtrl::ShowRow(int row, const simulation::SlaveMonitorRow& cells, bool enabled) {
  const auto index = static_cast<std::size_t>(row);
  for (std::size_t column = 0; column < cells.size(); ++column) {
    if (cells[column] != rows_[index][column])
      item(row, static_cast<int>(column))->setText(QtText(cells[column]));
  }
  rows_[index] = cells;
  if (enabled_[index] != enabled) {
    enabled_[index] = enabled;
    SetRowColour(row);
  }
}

const simulation::SlaveMonitorRow& CSMonitListCtrl::RowCells(int row) const {
  return rows_.at(static_cast<std::size_t>(row));
}

bool CSMonitListCtrl::RowEnabled(int row) const {
  return enabled_.at(static_cast<std::size_t>(row));
}

void CSMonitListCtrl::SetRowColour(int row) {
  const QBrush brush = palette().brush(
      enabled_[static_cast<std::size_t>(row)] ? QPalette::Active : QPalette::Disabled,
      QPalette::Text);
  for (int column = 0; column < columnCount(); ++column) item(row, column)->setForeground(brush);
}

QRect CSMonitListCtrl::CellsRect(int row, unsigned first, unsigned last) const {
  return visualItemRect(item(row, static_cast<int>(first)))
      .united(visualItemRect(item(row, static_cast<int>(last))));
}

QLineEdit* CSMonitListCtrl::OpenLineEditor(int row, unsigned first, unsigned last,
                                           const QString& text, int maxLength,
                                           EditAcceptor accept) {
  if (HasOpenEditor()) return nullptr;
  auto* editor = new QLineEdit(text, viewport());
  editor->setObjectName(QString::fromLatin1(kEditorName));
  editor->setMaxLength(maxLength);
  editor->setGeometry(CellsRect(row, first, last));
  editor->installEventFilter(this);
  editor_ = editor;
  connect(editor, &QLineEdit::editingFinished, this, [this, editor, accept = std::move(accept)] {
    if (editor_ != editor) return;
    if (accept(editor->text())) {
      CloseEditor();
    } else {
      editor->setFocus();
      editor->selectAll();
    }
  });
  editor->show();
  editor->setFocus();
  editor->selectAll();
  return editor;
}

QComboBox* CSMonitListCtrl::OpenDropDown(int row, unsigned column, const QStringList& items,
                                         const QString& current, EditAcceptor accept) {
  if (HasOpenEditor()) return nullptr;
  auto* combo = new QComboBox(viewport());
  combo->setObjectName(QString::fromLatin1(kEditorName));
  combo->addItems(items);
  combo->setCurrentIndex(std::max(0, static_cast<int>(items.indexOf(current))));
  combo->view()->setMinimumWidth(combo->view()->sizeHintForColumn(0) + 8);
  combo->setGeometry(CellsRect(row, column, column));
  combo->installEventFilter(this);
  editor_ = combo;
  connect(combo, &QComboBox::activated, this, [this, combo, accept = std::move(accept)](int index) {
    if (editor_ != combo) return;
    if (accept(combo->itemText(index))) CloseEditor();
  });
  combo->show();
  combo->setFocus();
  QTimer::singleShot(0, combo, [combo] {
    if (combo->isVisible()) combo->showPopup();
  });
  return combo;
}

void CSMonitListCtrl::CloseEditor() {
  if (editor_.isNull()) return;
  QWidget* editor = editor_;
  editor_ = nullptr;
  editor->hide();
  editor->deleteLater();
  setFocus();
}

void CSMonitListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
  const QModelIndex cell = indexAt(event->position().toPoint());
  if (event->button() != Qt::LeftButton || !cell.isValid() || HasOpenEditor()) return;
  Q_EMIT cellActivated(cell.row(), static_cast<unsigned>(cell.column()));
}

bool CSMonitListCtrl::eventFilter(QObject* object, QEvent* event) {
  if (object != editor_) return QTableWidget::eventFilter(object, event);
  if (event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    CloseEditor();
    return true;
  }
  // A drop-down closes when the focus goes elsewhere in the window; its own
  // list taking the focus does not count.
  if (event->type() == QEvent::FocusOut && qobject_cast<QComboBox*>(editor_) != nullptr) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
      QTimer::singleShot(0, this, [this, combo = QPointer<QWidget>(editor_)] {
        if (!combo.isNull() && combo == editor_ && !combo->hasFocus()) CloseEditor();
      });
  }
  return QTableWidget::eventFilter(object, event);
}

}  // namespace orvane::ui
