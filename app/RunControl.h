// The run control of the main frame: starting and stopping monitoring, the
// stop's drain on the 200 ms timer, the 50 ms simulation tick, key triggers
// of a running simulation, and what happens when the acquisition fails or
// the analyzer disappears.
//
// The caller drives time: OnRunTimer every 200 ms (the main frame's timer
// 3), OnIdle with the millisecond clock from idle processing (or a loop),
// OnDeviceChange on a device-change notification or a periodic presence
// check. Nothing here sleeps or waits on the acquisition thread.
//
// Threads: one controlling thread (the user-interface thread, or
// orvane-cli's main thread) makes every call. The acquisition thread shares
// only the MonitorState (records, latest block header, AcquisitionFailed).
// Calls block on their analyzer commands: a start in master or slave mode and
// a simulation tick may poll a table bank for up to about 2 seconds; the
// interrupt key waits up to about 150 ms on the one-shot mailbox.
//
// Failures reach the user as message boxes through the context's sink;
// everything about windows goes through its WindowRequests.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "analyzer/Acquisition.h"
#include "analyzer/MonitorSession.h"
#include "app/AppContext.h"

namespace orvane::app {

inline constexpr std::chrono::milliseconds kSimulationTickPeriod{50};
inline constexpr std::chrono::milliseconds kRunTimerPeriod = analyzer::kStopTickPeriod;
inline constexpr std::chrono::milliseconds kAcquisitionPollInterval{30};

inline constexpr std::string_view kUsbDisconnectedText =
    "Application terminated due to USB disconnection.    ";
inline constexpr std::string_view kUsbCommunicationErrorText =
    "Application terminated due to USB comminucation error.    ";

class RunControl {
 public:
  // `acquisitionPollInterval`: how often the acquisition thread looks at its
  // stop event (30 ms in the program; tests on virtual time use less).
  explicit RunControl(const AppContext& context,
                      std::chrono::milliseconds acquisitionPollInterval = kAcquisitionPollInterval);
  // Ends a running acquisition thread (signals its stop event and joins it).
  ~RunControl();
  RunControl(const RunControl&) = delete;
  RunControl& operator=(const RunControl&) = delete;

  // Start (command 32771), only while stopped: prepares the mode's
  // simulation (master: tables, extended files, schedule download and
  // switches, messages 107/101/106; slave: table download, 107/400), forms
  // the log file name into LogPath, marks monitoring, tells the views, calls
  // MonitorStart (failure: message 104, back to stopped) and starts the
  // acquisition thread; in a simulation mode the tick is armed. The run
  // keeps the node order of the description loaded now, also when the
  // description is released or replaced before its thread has ended; a
  // previous run's thread, already told to stop, is waited for (one poll at
  // most). Returns whether monitoring started.
  bool Start();

  // Stop (command 32772), only while monitoring and no stop is under way:
  // MonitorStop, the tick disarmed, the log number advanced when logging
  // with numbering. The stop completes in OnRunTimer.
  void Stop();

  // Timer 3, every 200 ms. While a stop is under way: completes it when the
  // latest block announced no records or after more than 2000 ms of ticks
  // (stops the acquisition thread, back to stopped, views told); otherwise
  // counts 200 ms. Else, once a failed acquisition thread has ended: back to
  // stopped, and, for a read failure or an oversized block, the forced
  // shutdown with kUsbCommunicationErrorText and the exit command. A live log
  // that could not be created is no link failure: the thread has said so,
  // the run ends cleanly and the program keeps running.
  void OnRunTimer();

  // Idle processing: while the tick is armed, runs OnSimulationTick when at
  // least 50 ms have passed since the last one (the first call after arming
  // only takes the time). Returns whether more idle calls are wanted.
  bool OnIdle(std::chrono::milliseconds now);

  // The simulation tick, while monitoring and not re-entered: master mode
  // advances the current schedule's timer and key cursors and downloads a
  // changed table (a failed download stops monitoring and shows message
  // 1001); slave mode advances the responses' cursors and downloads the
  // slave table (failure: message 400).
  void OnSimulationTick();

  // A key-down message, before anything else sees it. While a master run is
  // monitored the interrupt key sends the interrupt entry ("Key Trigger
  // Error." on failure) and key cursors on that key become pending; while a
  // slave run is monitored its key cursors become pending. Returns true when
  // the key is consumed: F10 during a simulation run, so that it does not
  // reach the menu.
  bool OnKeyDown(std::int32_t key);

  // A device change: asks CheckUSB and returns its answer. The first time
  // the analyzer is missing a running monitor is stopped and, unless a
  // shutdown is under way, the shutdown is forced with kUsbDisconnectedText
  // and the exit command.
  std::int32_t OnDeviceChange();

  // Makes another master schedule current (the master simulation monitor
  // window); while monitoring it is downloaded (failure: message 406).
  bool SelectSchedule(std::size_t schedule,
                      simulation::Reselect reselect = simulation::Reselect::kNo);

  bool StopRequested() const { return session_.StopRequested(); }
  std::uint32_t StopWaitMs() const { return session_.StopWaitMs(); }
  bool SimulationTickArmed() const { return tickArmed_; }
  const analyzer::Acquisition& acquisition() const { return acquisition_; }

 private:
  bool PrepareSimulation();
  void ArmTick(bool armed);
  void EndRun();
  void OnAcquisitionFailed();

  AppContext context_;
  std::chrono::milliseconds acquisitionPollInterval_;
  // The node order the current run's thread reads; declared before the
  // thread's owner so that it outlives the thread.
  std::shared_ptr<const monitor::IdentifierSlotMap> runNodeOrder_;
  analyzer::Acquisition acquisition_;
  analyzer::MonitorSession session_;
  bool tickArmed_ = false;
  std::optional<std::chrono::milliseconds> lastTick_;
};

}  // namespace orvane::app
