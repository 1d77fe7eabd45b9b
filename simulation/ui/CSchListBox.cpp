#include "simulation/ui/CSchListBox.h"

#include <QContextMenuEvent>
#include <QMenu>

#include "settings/FixedText.h"
#include "simulation/ui/CRenameDlg.h"
#include "simulation/ui/ScheduleNameText.h"

namespace orvane::ui {

CSchListBox::CSchListBox(simulation::ScheduleNames& names, monitor::MessageSink& messages,
                         QWidget* parent)
    : QListWidget(parent), names_(names), messages_(messages) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  for (std::size_t index = 0; index < names.size(); ++index) {
    addItem(QString());
    ShowName(static_cast<int>(index));
  }
  setFixedWidth(kNameWidth + 2 * frameWidth() + 16);
}

void CSchListBox::ShowName(int index) {
  const auto& field = names_.at(static_cast<std::size_t>(index));
  const std::string_view name = settings::FieldText(field.data(), field.size());
  QListWidgetItem* entry = item(index);
  entry->setText(ShortScheduleName(name, kNameWidth, fontMetrics()));
  entry->setToolTip(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

void CSchListBox::ShowNames() {
  for (int index = 0; index < count(); ++index) ShowName(index);
}

bool CSchListBox::RenameSchedule(int index) {
  if (index < 0 || index >= count()) return false;
  CRenameDlg dialog(names_, static_cast<std::size_t>(index), messages_, this);
  if (dialog.exec() != QDialog::Accepted) return false;
  auto& field = names_[static_cast<std::size_t>(index)];
  settings::CopyToField(dialog.name(), field.data(), field.size());
  ShowName(index);
  return true;
}

void CSchListBox::contextMenuEvent(QContextMenuEvent* event) {
  const QModelIndex under = indexAt(event->pos());
  if (!under.isValid()) return;
  setCurrentRow(under.row());
  // The schedule under the pointer could not become current (its rows were
  // refused): there is nothing to rename.
  if (currentRow() != under.row()) return;
  QMenu menu(this);
  const QAction* rename = menu.addAction(QStringLiteral("&Rename Schedule"));
  if (menu.exec(event->globalPos()) == rename) RenameSchedule(under.row());
}

}  // namespace orvane::ui
