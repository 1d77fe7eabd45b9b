#include "signals/ui/cls_psig_mvw.h"

#include <QHeaderView>
#include <algorithm>
#include <array>
#include <atomic>

#include "app/ui/QtText.h"

namespace orvane::ui {
namespace {

enum Column { kName, kValue, kEncode, kCount };

}  // namespace

cls_psig_mvw::cls_psig_mvw(const SignalSources& sources, QWidget* parent)
    : QTreeWidget(parent), sources_(sources) {
  setObjectName(QStringLiteral("signalList"));
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setHeaderLabels({QStringLiteral("Signal Name"), QStringLiteral("Value"), QStringLiteral("Encode"),
                   QStringLiteral("Count")});
  header()->setStretchLastSection(false);
  header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  for (const auto& [column, width] : {std::pair{kName, 250}, std::pair{kValue, 70},
                                      std::pair{kEncode, 200}, std::pair{kCount, 75}}) {
    setColumnWidth(column, width);
  }
  refreshTimer_.setSingleShot(true);
  connect(&refreshTimer_, &QTimer::timeout, this, &cls_psig_mvw::OnRefreshTimer);
  SetUp();
}

void cls_psig_mvw::SetUp() {
  description_ = sources_.description.Description();
  BuildRows(SelectedRows());
  setWindowTitle(SignalWindowCaption(app::Window::kSignalMonitor, sources_.settings) +
                 RelaxedMarker(description_));
  refreshTimer_.start(kRefreshPeriod);
}

std::vector<signals::SignalRow> cls_psig_mvw::SelectedRows() const {
  if (description_ == nullptr) return {};
  return signals::BuildSignalRows(*description_, SortOrderOf(sources_.settings),
                                  SelectionOf(sources_.settings));
}

void cls_psig_mvw::BuildRows(std::vector<signals::SignalRow> rows) {
  clear();
  rows_ = std::move(rows);
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(rows_.size()));
  for (std::size_t n = 0; n < rows_.size(); ++n) items.push_back(new QTreeWidgetItem);
  addTopLevelItems(items);
  RefreshAllRows();
}

void cls_psig_mvw::OnRefreshTimer() {
  // A description released or replaced without a refresh: the rows no
  // longer name its signals.
  if (description_ != sources_.description.Description()) {
    SetUp();
    return;
  }
  const bool running = sources_.state.AcquisitionRunning != 0;
  if (running) refreshCount_ = 0;
  // The rows themselves are compared, not only their number: a signal
  // unticked and another ticked between two ticks changes the list too.
  std::vector<signals::SignalRow> selected = SelectedRows();
  if (selected != rows_) {
    BuildRows(std::move(selected));
  } else if (running || refreshCount_ < kRefreshesAfterStop) {
    if (refreshCount_ == kRefreshesAfterStop - 1) {
      RefreshAllRows();
    } else {
      RefreshVisibleRows();
    }
  }
  if (!running && refreshCount_ < kRefreshesAfterStop) ++refreshCount_;
  refreshTimer_.start(kRefreshPeriod);
}

void cls_psig_mvw::RefreshAllRows() {
  for (int index = 0; index < topLevelItemCount(); ++index) FillRow(index);
}

void cls_psig_mvw::RefreshVisibleRows() {
  QTreeWidgetItem* top = itemAt(0, 0);
  if (top == nullptr) return;
  const int first = indexOfTopLevelItem(top);
  const int rowHeight = std::max(1, visualItemRect(top).height());
  const int perPage = viewport()->height() / rowHeight;
  const int last = std::min(first + perPage, topLevelItemCount() - 1);
  for (int index = first; index <= last; ++index) FillRow(index);
}

void cls_psig_mvw::FillRow(int index) {
  const signals::SignalRow row = rows_[static_cast<std::size_t>(index)];
  const std::uint8_t identifier = description_->frames[row.frame].identifier;
  // The counter first: the record it counts was stored before it.
  const std::uint32_t count = sources_.frames.counters[identifier].load(std::memory_order_acquire);
  std::array<std::uint8_t, signals::kDataBytes> data{};
  std::ranges::copy(sources_.frames.records[identifier].Load().data, data.begin());
  const signals::SignalRowText text = signals::FillSignalRow(*description_, row, data, count);
  QTreeWidgetItem* item = topLevelItem(index);
  item->setText(kName, QtText(text.name));
  item->setText(kValue, QtText(text.value));
  item->setText(kEncode, QtText(text.encode));
  item->setText(kCount, QtText(text.count));
}

}  // namespace orvane::ui
