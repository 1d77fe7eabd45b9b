// The Signal monitor window's list: one row per signal selected in the
// Signal select window (frames in the settings' sort order, signals in
// entry order), with the columns "Signal Name", "Value", "Encode" and
// "Count". The texts come from signals::FillSignalRow over the latest
// complete frame of the row's identifier and its counter.
//
// Every 200 ms: while monitoring runs the visible rows are refreshed; after
// it stops five more times, the last time every row, and then the list
// stays as it is. When the selection no longer gives the listed rows, the
// list is rebuilt instead.
//
// Threads: the user-interface thread. The frame table is read without a
// lock while the acquisition thread writes it.
#pragma once

#include <QTimer>
#include <QTreeWidget>
#include <chrono>
#include <cstdint>
#include <vector>

#include "app/ui/ShellView.h"
#include "signals/SignalMonitorModel.h"
#include "signals/ui/SignalSources.h"

namespace orvane::ui {

class cls_psig_mvw final : public QTreeWidget, public ShellView {
  Q_OBJECT

 public:
  static constexpr std::chrono::milliseconds kRefreshPeriod{200};
  // Refreshes after monitoring stopped; the last one covers every row.
  static constexpr std::uint16_t kRefreshesAfterStop = 5;

  explicit cls_psig_mvw(const SignalSources& sources, QWidget* parent = nullptr);

  // Takes the description, the selection and the sort order again: the
  // rows are rebuilt and filled, the caption set and the timer started.
  void SetUp();
  void OnSignalWindowsRefresh() override { SetUp(); }

  // The 200 ms timer's work.
  void OnRefreshTimer();
  // Fills every row from the frame table again.
  void RefreshAllRows();

  const std::vector<signals::SignalRow>& rows() const { return rows_; }

 private:
  std::vector<signals::SignalRow> SelectedRows() const;
  void BuildRows(std::vector<signals::SignalRow> rows);
  void RefreshVisibleRows();
  void FillRow(int index);

  SignalSources sources_;
  // The description the rows were built from.
  const signals::LinDescription* description_ = nullptr;
  std::vector<signals::SignalRow> rows_;
  std::uint16_t refreshCount_ = 0;
  QTimer refreshTimer_;
};

}  // namespace orvane::ui
