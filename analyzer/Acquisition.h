// The acquisition thread: while the bus is monitored it reads blocks of
// monitor records from the analyzer's monitor pipe without pause, appends
// them to the MonitorBuffer, writes them to the live log when logging is on,
// and brings the ViewBuffer and the per-identifier tables up to date.
//
// Threads and shared data:
// - Start, SignalStop, Running and Join are for one controlling thread (the
//   user-interface thread, or orvane-cli's main thread). Start must not be
//   called while a previous run's thread is still running.
// - The thread is the only writer of the MonitorState (rings, tables, latest
//   block header, AcquisitionFailed) and of the live log file while it runs;
//   others read the state without locks (see monitor/MonitorState.h).
// - It uses only MonitorRead of the link, so commands may be exchanged on the
//   other pipes meanwhile.
// - It polls the stop event every stopPollInterval (30 ms) and ends when it
//   is signalled. Nothing is allocated inside its loop.
//
// Failures end the thread with an error code (kAcquisitionOversizedBlock,
// kAcquisitionReadFailed, kAcquisitionLogFailed): it shows "Monitor Data
// Read Error.(<code>)" through the message sink when the sink can show
// (not while the main window is closing), waits until that box is closed,
// then sets AcquisitionFailed. The monitor data stay in the buffers.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "analyzer/AutoResetEvent.h"
#include "analyzer/LinkApi.h"
#include "monitor/LogWriter.h"
#include "monitor/MessageSink.h"
#include "monitor/MonitorRecord.h"
#include "monitor/MonitorState.h"
#include "monitor/MonitorUpdate.h"

namespace orvane::analyzer {

inline constexpr int kAcquisitionOversizedBlock = 1;  // a block announced more than 100 records
inline constexpr int kAcquisitionReadFailed = 2;      // MonitorRead failed
inline constexpr int kAcquisitionLogFailed = 3;       // creating or writing the live log failed
inline constexpr int kBlockRecordCapacity = 100;

inline constexpr char kDefaultLogFileName[] = "default.log";

// What one monitoring run needs of the settings; read-only while it runs.
struct AcquisitionSettings {
  bool loggingEnabled = false;
  // LogPath; when empty the live log is "<defaultLogFolder>/default.log".
  std::filesystem::path logPath;
  std::filesystem::path defaultLogFolder;
  monitor::LogFormat logFormat;
  monitor::MonitorMask mask;
  int sortOrder = 0;
  const monitor::IdentifierSlotMap* nodeOrder = nullptr;  // a loaded LIN description's, or none
  std::chrono::milliseconds stopPollInterval{30};
};

// The live log's path: LogPath, or the default log in defaultLogFolder.
std::filesystem::path LiveLogPath(const AcquisitionSettings& settings);

class Acquisition {
 public:
  Acquisition(const LinkApi& link, monitor::MonitorState& state, monitor::MessageSink& messages);
  // Signals the stop event and joins a running thread.
  ~Acquisition();
  Acquisition(const Acquisition&) = delete;
  Acquisition& operator=(const Acquisition&) = delete;

  // Resets the stop event and starts the thread (joining a previous one that
  // has ended). Does not block.
  void Start(AcquisitionSettings settings);
  // Signals the stop event; the thread ends within one poll interval plus
  // the MonitorRead in progress.
  void SignalStop() { stopEvent_.Set(); }
  // True from Start until the thread has ended.
  bool Running() const { return running_.load(std::memory_order_acquire); }
  // Waits until the thread has ended.
  void Join();
  // The error code of the last run that has ended, 0 when it ended on a stop.
  int LastErrorCode() const { return lastErrorCode_.load(std::memory_order_acquire); }

 private:
  int Run(const AcquisitionSettings& settings);

  const LinkApi& link_;
  monitor::MonitorState& state_;
  monitor::MessageSink& messages_;
  AutoResetEvent stopEvent_;
  std::atomic<bool> running_{false};
  std::atomic<int> lastErrorCode_{0};
  // The block buffer, owned by the thread while it runs.
  monitor::MonitorBlockHeader header_{};
  std::array<monitor::MonitorRecord, kBlockRecordCapacity> block_{};
  std::thread thread_;
};

}  // namespace orvane::analyzer
