// The Bus Statistics window's view: the per-identifier table, a status line
// (records counted, bus load summary, records lost before they were
// counted) and the bus load plot. What it shows comes from
// views::StatisticsFeed over the MonitorBuffer: every 200 ms the records the
// ring gained (so a run is counted whole even when the ring wraps), every
// record the ring holds when the window opens or a review is shown, and
// nothing of the previous run once a start has reset the counts.
//
// Threads: the user-interface thread; the ring is read without a lock while
// the acquisition thread writes it.
#pragma once

#include <QTimer>
#include <QWidget>
#include <chrono>

#include "app/ui/ShellView.h"
#include "views/StatisticsFeed.h"

class QLabel;
class QTableView;

namespace orvane::ui {

class LoadPlot;
class StatisticsTableModel;

class CBusStatView final : public QWidget, public ShellView {
  Q_OBJECT

 public:
  static constexpr std::chrono::milliseconds kRefreshPeriod{200};

  explicit CBusStatView(const app::AppContext& context, QWidget* parent = nullptr);

  // 6 (monitoring stopped): the records the run's end left are counted.
  void OnViewUpdate(const app::ViewUpdateCodes& codes) override;
  // A start (counts reset, the ring's reset awaited) or a review shown
  // (counts from the file's records).
  void OnResetCaptureAndFind() override;

  // The 200 ms timer's work.
  void OnRefreshTimer();

  const StatisticsTableModel& model() const { return *model_; }
  QString statusText() const;
  const LoadPlot& plot() const { return *plot_; }

 private:
  views::FrameBitsSetup Setup() const;
  void Show();

  const app::AppContext& context_;
  views::StatisticsFeed feed_;
  StatisticsTableModel* model_;
  QTableView* table_;
  QLabel* status_;
  LoadPlot* plot_;
  QTimer refreshTimer_;
};

}  // namespace orvane::ui
