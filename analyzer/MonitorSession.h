// Starting and stopping a monitoring run around the acquisition thread: the
// starter's steps and the stopper's drain rule, shared by the run control of
// the main frame and by orvane-cli.
//
// Stopping drains the analyzer: after MonitorStop the thread keeps reading
// until a block without records arrives or about two seconds have passed, so
// records still buffered in the analyzer reach the buffers and the log. The
// caller drives the drain with a tick every kStopTickPeriod (the main frame's
// 200 ms timer); the session never waits itself.
//
// Threads: the controlling thread only (it exchanges commands with the
// analyzer); none of the functions blocks beyond its one command.
#pragma once

#include <chrono>
#include <cstdint>

#include "analyzer/Acquisition.h"
#include "analyzer/LinkApi.h"
#include "monitor/MessageSink.h"
#include "monitor/MonitorState.h"

namespace orvane::analyzer {

inline constexpr std::chrono::milliseconds kStopTickPeriod{200};
inline constexpr std::uint32_t kStopWaitLimitMs = 2000;

class MonitorSession {
 public:
  MonitorSession(const LinkApi& link, monitor::MonitorState& state, Acquisition& acquisition,
                 monitor::MessageSink& messages);

  // The starter, after the caller has downloaded what the mode needs: clears
  // the wrap flags and EachIdTable seen flags, sets the latest header's
  // record count to 0, calls MonitorStart and only if that succeeds starts the
  // acquisition thread. When MonitorStart fails it shows message 104
  // ("Monitor Execution Error.") and returns false.
  bool Start(AcquisitionSettings settings);

  // The stopper's first step: MonitorStop, StopWaitMs = 0, a stop is under way.
  void RequestStop();
  // One tick of the drain: while a stop is under way, signals the thread's
  // stop event and completes the stop when the latest block header announces
  // 0 records or StopWaitMs exceeds 2000; otherwise adds 200 to StopWaitMs.
  // Returns true at the tick that completed the stop.
  bool OnStopTick();

  bool StopRequested() const { return stopRequested_; }
  std::uint32_t StopWaitMs() const { return stopWaitMs_; }

 private:
  const LinkApi& link_;
  monitor::MonitorState& state_;
  Acquisition& acquisition_;
  monitor::MessageSink& messages_;
  bool stopRequested_ = false;
  std::uint32_t stopWaitMs_ = 0;
};

}  // namespace orvane::analyzer
