#include "views/ui/CBusStatView.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ui/QtText.h"
#include "settings/BaudRateTable.h"
#include "views/ui/LoadPlot.h"
#include "views/ui/StatisticsTableModel.h"

namespace orvane::ui {

CBusStatView::CBusStatView(const app::AppContext& context, QWidget* parent)
    : QWidget(parent),
      context_(context),
      model_(new StatisticsTableModel(this)),
      table_(new QTableView),
      status_(new QLabel),
      plot_(new LoadPlot) {
  table_->setObjectName(QStringLiteral("statisticsTable"));
  table_->setModel(model_);
  table_->verticalHeader()->hide();
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  status_->setObjectName(QStringLiteral("statisticsStatus"));
  status_->setWordWrap(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_, 1);
  layout->addWidget(status_);
  layout->addWidget(plot_);

  feed_.Restart(Setup());
  feed_.Refresh(context_.monitor.MonitorBuffer);
  Show();
  table_->resizeColumnsToContents();
  connect(&refreshTimer_, &QTimer::timeout, this, &CBusStatView::OnRefreshTimer);
  refreshTimer_.start(kRefreshPeriod);
}

views::FrameBitsSetup CBusStatView::Setup() const {
  const settings::BaudRate* baud =
      settings::FindBaudRate(context_.configuration.Options.BaudRateCode);
  const settings::BaudRate& known =
      baud != nullptr ? *baud : settings::kBaudRates[settings::kDefaultBaudRateCode];
  views::FrameBitsSetup setup{known.bitsPerSecond, app::CurrentLogFormat(context_).dataLengths};
  // A run's frames have the identifier definition's lengths; at a start the
  // review's layout is still current until the rings are given back.
  if (context_.state.Monitoring()) {
    std::ranges::copy(context_.configuration.Settings.Identifiers.dataLength,
                      setup.dataLengths.begin());
  }
  return setup;
}

void CBusStatView::OnViewUpdate(const app::ViewUpdateCodes& codes) {
  if (codes.Monitor != app::kUpdateMonitoringStopped) return;
  feed_.RunEnded();
  OnRefreshTimer();
}

void CBusStatView::OnResetCaptureAndFind() {
  if (context_.state.Monitoring()) {
    feed_.RunStarting(context_.monitor.MonitorBuffer, Setup());
  } else {
    feed_.Restart(Setup());
    feed_.Refresh(context_.monitor.MonitorBuffer);
  }
  Show();
}

void CBusStatView::OnRefreshTimer() {
  if (feed_.Refresh(context_.monitor.MonitorBuffer)) Show();
}

QString CBusStatView::statusText() const {
  return status_->text();
}

void CBusStatView::Show() {
  const views::IdentifierStatistics& statistics = feed_.statistics();
  const int rowsBefore = model_->rowCount();
  model_->SetRows(views::StatisticsRows(statistics));
  // A new identifier may be wider than the ones listed so far.
  if (model_->rowCount() != rowsBefore) table_->resizeColumnToContents(0);
  std::string status = std::to_string(statistics.RecordCount()) + " records counted. " +
                       views::BusLoadSummary(statistics) + ".";
  if (const std::string loss = feed_.LossText(); !loss.empty()) status += ' ' + loss;
  status_->setText(QtText(status));
  std::map<std::int64_t, double> load;
  for (const auto& [second, bits] : statistics.LoadBits()) {
    load.emplace(second, statistics.LoadPercent(bits));
  }
  plot_->SetLoad(std::move(load));
}

}  // namespace orvane::ui
