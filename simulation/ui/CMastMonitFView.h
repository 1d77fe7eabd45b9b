// The master simulation monitor's form: the "Schedule" and "Interrupt"
// switches, the analyzer's counters ("Success/Request", "Count"), one
// button per schedule ("S1"-"S16", the current one green), the running
// schedule's enabled slots (grid mode 2) and the interrupt slot (grid mode
// 3), and "Close".
//
// While monitoring runs, a 500 ms timer follows the pattern-driven rows and
// the counters of the latest block header; the buttons switch schedules
// through the run control; a double click edits a row (the frame of a
// schedule row as one pattern line while running, its cells while
// stopped), and the edit reaches the slot and its compiled entry at once so
// that the next simulation tick downloads it.
//
// Threads: the user-interface thread. The latest block header is read
// without a lock (the acquisition thread writes it).
#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <chrono>
#include <optional>
#include <vector>

#include "app/ui/ShellView.h"
#include "simulation/MasterRun.h"
#include "simulation/SimRecords.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace orvane::ui {

class CMSetListCtrl;

class CMastMonitFView final : public QWidget, public ShellView {
  Q_OBJECT

 public:
  static constexpr std::chrono::milliseconds kFollowPeriod{500};
  static constexpr int kButtonNameWidth = 85;

  explicit CMastMonitFView(const ShellServices& services, QWidget* parent = nullptr);

  // Code 2 (master setup changed) shows the model again.
  void OnViewUpdate(const app::ViewUpdateCodes& codes) override;

  // The 500 ms timer's work, only while monitoring runs.
  void OnFollowTimer();

  // The schedule buttons: makes schedule `index` current.
  void OnScheduleButton(std::size_t index);

 private:
  void BuildForm();
  // Shows the model: switches, counters reset, the schedule to show
  // selected as if it were not current, the interrupt slot, the buttons.
  void ShowModel();
  // Makes `schedule` current and shows it; none clears the list.
  void SelectSchedule(std::optional<std::size_t> schedule, simulation::Reselect reselect);
  void ShowSchedule(std::size_t schedule);
  void ShowInterrupt();
  void PaintButtons();
  void OnScheduleSwitch(bool on);
  void OnInterruptSwitch(bool on);
  void FollowScheduleRows();
  void FollowInterruptRow();

  // Double clicks: true when the view took the click.
  bool OnScheduleDoubleClick(int row, int column);
  bool OnInterruptDoubleClick(int row, int column);
  void EditRunningFrame(int row);
  void StoreScheduleRow(int row);
  void StoreInterruptRow();

  const ShellServices services_;
  QCheckBox* scheduleSwitch_ = nullptr;
  QCheckBox* interruptSwitch_ = nullptr;
  QLabel* successRequest_ = nullptr;
  QLabel* count_ = nullptr;
  std::array<QPushButton*, simulation::kScheduleCount> buttons_{};
  CMSetListCtrl* scheduleList_ = nullptr;
  CMSetListCtrl* interruptList_ = nullptr;
  // The schedule the list shows, which is CurrentSchedule; none when no
  // schedule is enabled.
  std::optional<std::size_t> shownSchedule_;
  // The slot index behind each row of the schedule list.
  std::vector<std::size_t> shownSlots_;
  QTimer followTimer_;
};

}  // namespace orvane::ui
