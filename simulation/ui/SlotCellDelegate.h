// The cells of the editing grid: check cells drawn as centred check marks,
// and the in-place editors, a line edit for "Delay", "IDEN", the data cells
// and "Timer/Key", a drop-down for "Command" and "Error".
//
// A line edit closes only on a text that passes CheckEditedText: Enter, Tab
// or moving the focus elsewhere in the window runs the check, and a failed
// check shows its text in a box titled "Error" and keeps the editor open
// with its text selected; Escape abandons the edit. A drop-down opens its
// list at once and takes the item the user picks. The accepted text goes to the model, which
// carries out its effects on the row.
//
// Threads: the user-interface thread only.
#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

#include "monitor/MessageSink.h"

class QLineEdit;

namespace orvane::ui {

class SlotGridModel;

class SlotCellDelegate final : public QStyledItemDelegate {
  Q_OBJECT

 public:
  SlotCellDelegate(const SlotGridModel& model, monitor::MessageSink& messages,
                   QObject* parent = nullptr);

  bool HasOpenEditor() const { return !openEditor_.isNull(); }

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

 protected:
  bool eventFilter(QObject* object, QEvent* event) override;

 private:
  QWidget* CreateDropDown(QWidget* parent, const QModelIndex& index) const;
  // Runs the check of the editor's text; on a failure shows it and keeps
  // the editor focused with its text selected.
  bool Passes(QLineEdit* editor);
  void CommitAndClose(QWidget* editor);
  void PaintCheck(QPainter* painter, const QStyleOptionViewItem& option,
                  const QModelIndex& index) const;

  const SlotGridModel& model_;
  monitor::MessageSink& messages_;
  mutable QPointer<QWidget> openEditor_;
  bool reporting_ = false;  // a failed check's box is up
};

}  // namespace orvane::ui
