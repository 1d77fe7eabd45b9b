#include "signals/ui/cls_psig_viw.h"

#include <QLabel>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ui/QtText.h"

namespace orvane::ui {
namespace {

// Boxes the user can tick, without Qt's own propagation between levels.
constexpr Qt::ItemFlags kItemFlags =
    Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;

Qt::CheckState FrameState(const signals::FrameChecks& checks) {
  if (!checks.frame) return Qt::Unchecked;
  const bool all = std::ranges::all_of(checks.entries, [](bool on) { return on; });
  return all ? Qt::Checked : Qt::PartiallyChecked;
}

Qt::CheckState EntryState(bool selected) {
  return selected ? Qt::Checked : Qt::Unchecked;
}

QTreeWidgetItem* NewItem(const std::string& name) {
  auto* item = new QTreeWidgetItem(QStringList{QtText(name)});
  item->setFlags(kItemFlags);
  item->setCheckState(0, Qt::Unchecked);
  return item;
}

// The signal's name; a signal no node subscribes to (only a relaxed load
// lets one pass) is marked.
std::string SignalItemText(const signals::Signal& signal) {
  return signal.subscribers.empty() ? signal.name + " (no subscribers)" : signal.name;
}

}  // namespace

cls_psig_viw::cls_psig_viw(const SignalSources& sources, QWidget* parent)
    : QWidget(parent),
      sources_(sources),
      model_(nullptr, signals::SortOrder::kById),
      tree_(new QTreeWidget) {
  auto* form = new QVBoxLayout(this);
  form->addWidget(new QLabel(QStringLiteral("Frame/Signal Name")));
  tree_->setObjectName(QStringLiteral("signalTree"));
  tree_->setHeaderHidden(true);
  tree_->setColumnCount(1);
  tree_->setRootIsDecorated(true);
  tree_->setMinimumSize(220, 300);
  form->addWidget(tree_);
  connect(tree_, &QTreeWidget::itemChanged, this, &cls_psig_viw::OnItemChanged);
  SetUp();
}

void cls_psig_viw::SetUp() {
  description_ = sources_.description.Description();
  model_ = signals::SignalSelectModel(description_, SortOrderOf(sources_.settings));
  {
    const QSignalBlocker quiet(tree_);
    tree_->clear();
    for (const std::uint8_t frame : model_.frames()) {
      const signals::Frame& definition = description_->frames[frame];
      QTreeWidgetItem* frameItem = NewItem(definition.name);
      for (const signals::FrameEntry& entry : definition.entries) {
        frameItem->addChild(NewItem(SignalItemText(description_->signals[entry.signal])));
      }
      tree_->addTopLevelItem(frameItem);
    }
    if (tree_->topLevelItemCount() > 0) tree_->setCurrentItem(tree_->topLevelItem(0));
  }
  ShowChecks();
  setWindowTitle(SignalWindowCaption(app::Window::kSignalSelect, sources_.settings) +
                 RelaxedMarker(description_));
}

void cls_psig_viw::OnItemChanged() {
  if (clickPosted_) return;
  clickPosted_ = true;
  QMetaObject::invokeMethod(this, &cls_psig_viw::ApplyClick, Qt::QueuedConnection);
}

void cls_psig_viw::ApplyClick() {
  clickPosted_ = false;
  // A description released or replaced without a refresh: the tree no
  // longer names its frames.
  if (description_ != sources_.description.Description()) {
    SetUp();
    return;
  }
  signals::SignalSelection selection = SelectionOf(sources_.settings);
  std::optional<std::size_t> clickedFrame;
  const std::vector<signals::FrameChecks> marks =
      MarksOfTree(model_.ChecksFrom(selection), clickedFrame);
  const std::optional<signals::TreeItem> changed = model_.ApplyClick(marks, selection);
  if (clickedFrame) {
    tree_->setCurrentItem(ItemOf({*clickedFrame, std::nullopt}));
  } else if (changed) {
    tree_->setCurrentItem(ItemOf(*changed));
  }
  ShowChecks();
}

std::vector<signals::FrameChecks> cls_psig_viw::MarksOfTree(
    const std::vector<signals::FrameChecks>& shown,
    std::optional<std::size_t>& clickedFrame) const {
  std::vector<signals::FrameChecks> marks;
  for (std::size_t position = 0; position < shown.size(); ++position) {
    const QTreeWidgetItem* frameItem = tree_->topLevelItem(static_cast<int>(position));
    const Qt::CheckState frameState = frameItem->checkState(0);
    signals::FrameChecks frameMarks{frameState != Qt::Unchecked, {}};
    if (frameState != FrameState(shown[position])) {
      clickedFrame = position;
      frameMarks.frame = frameState == Qt::Checked;
      frameMarks.entries.assign(shown[position].entries.size(), frameMarks.frame);
    } else {
      for (int child = 0; child < frameItem->childCount(); ++child) {
        frameMarks.entries.push_back(frameItem->child(child)->checkState(0) == Qt::Checked);
      }
    }
    marks.push_back(std::move(frameMarks));
  }
  return marks;
}

void cls_psig_viw::ShowChecks() {
  const QSignalBlocker quiet(tree_);
  const std::vector<signals::FrameChecks> checks =
      model_.ChecksFrom(SelectionOf(sources_.settings));
  for (std::size_t position = 0; position < checks.size(); ++position) {
    QTreeWidgetItem* frameItem = tree_->topLevelItem(static_cast<int>(position));
    frameItem->setCheckState(0, FrameState(checks[position]));
    const std::vector<bool>& entries = checks[position].entries;
    for (std::size_t entry = 0; entry < entries.size(); ++entry) {
      frameItem->child(static_cast<int>(entry))->setCheckState(0, EntryState(entries[entry]));
    }
  }
}

QTreeWidgetItem* cls_psig_viw::ItemOf(const signals::TreeItem& item) const {
  QTreeWidgetItem* frameItem = tree_->topLevelItem(static_cast<int>(item.framePosition));
  if (frameItem == nullptr || !item.entry) return frameItem;
  return frameItem->child(static_cast<int>(*item.entry));
}

}  // namespace orvane::ui
