// The application-wide run state that the main frame keeps and the views
// read: whether monitoring runs, the simulation mode, which windows are open,
// the view update codes, the shutdown state, and the application-wide paths
// and display values.
//
// The application owns one AppState and passes it by reference; tests make
// their own. Plain data of the user-interface thread: the run control and
// the commands write it, the windows read it directly (the program's shell
// sets and clears a window's open flag as the window opens and closes, and
// resets the ViewUpdateCodes once every view has seen them). The acquisition thread
// reads only ShutdownState (through the message sink, to keep its error box
// away from a closing program); its failure flag is MonitorState's
// AcquisitionFailed.
//
// The stopper's StopRequested and StopWaitMs belong to the drain rule of
// analyzer::MonitorSession; RunControl exposes them.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "monitor/LogWriter.h"
#include "review/ReviewRecords.h"

namespace orvane::app {

enum SimulationMode : std::int32_t {
  kModeNone = 0,  // monitor only
  kModeMaster = 1,
  kModeSlave = 2,
  kModeBaudrate = 3,  // baud-rate measurement
};

enum ShutdownState : std::uint8_t {
  kShutdownNone = 0,
  kShutdownRequested = 1,  // the user chose Exit; the close still asks
  kShutdownForced = 2,     // a fatal error: no further message or question
};

// The windows whose open flags the main frame consults.
enum class Window : std::size_t {
  kMonitor,
  kStatus,
  kMasterMonitor,  // master simulation monitor
  kSlaveMonitor,   // slave simulation monitor
  kSignalSelect,
  kSignalMonitor,
  kEachId,
  kCapture,
  kFind,
  kSignalPlot,
  kBusStatistics,
};
inline constexpr std::size_t kWindowCount = 11;

class WindowOpenFlags {
 public:
  bool operator[](Window window) const { return open_[static_cast<std::size_t>(window)]; }
  bool& operator[](Window window) { return open_[static_cast<std::size_t>(window)]; }

 private:
  std::array<bool, kWindowCount> open_{};
};

// What changed, told to a family of views before a refresh of all views.
enum ViewUpdate : std::int32_t {
  kUpdateNone = 0,
  kUpdateSettings = 1,
  kUpdateMasterSetup = 2,
  kUpdateSlaveSetup = 3,
  kUpdateMonitoringStarted = 5,
  kUpdateMonitoringStopped = 6,
  kUpdateSizeChanged = 8,  // a monitor view's size changed: back buffers are rebuilt
  kUpdateCaptureTaken = 11,
  kUpdateTablesChanged = 14,  // the Each ID and last-frame tables were rebuilt (a review)
};

// One code per family of views; each view resets its family's code.
struct ViewUpdateCodes {
  std::int32_t Monitor = kUpdateNone;  // monitor, Each ID, capture windows
  std::int32_t Status = kUpdateNone;
  std::int32_t Master = kUpdateNone;  // master simulation monitor
  std::int32_t Slave = kUpdateNone;   // slave simulation monitor
};

struct AppState {
  // ---- Run state ----
  std::uint32_t MonitorStopped = 1;  // 1 while not monitoring
  std::int32_t SimulationMode = kModeNone;
  std::uint32_t AcquisitionRunning = 0;  // 1 from a successful start until the stop completes
  WindowOpenFlags WindowOpen;
  ViewUpdateCodes ViewUpdateCode;

  // ---- Main frame ----
  std::atomic<std::uint8_t> ShutdownState = kShutdownNone;
  std::uint32_t DeviceLost = 0;    // the analyzer was found missing
  std::uint32_t SimTickArmed = 1;  // re-entry guard of the simulation tick
  std::uint8_t SortOrder = 0;      // copy of the settings' sort order, taken at every start

  // ---- Application-wide values ----
  std::string ConfigPath;  // the current configuration file; empty when none
  std::string LogPath;     // the live log's name; empty for the default log
  std::filesystem::path ProgramFolder;
  std::string LanguageCode = "ENG";          // "JPN" or "ENG"
  std::string IdentifierFieldMode = "IDEN";  // "IDEN" or "ID+DLC"
  std::string DataRadix = "HEX";
  // The name of the saved file the monitor data holds for review; empty
  // while they hold a run's records.
  std::string ReviewFile;
  // The reviewed file's log layout, used by the log saves while it is shown.
  std::optional<monitor::LogFormat> ReviewLogFormat;
  // The open analyzer's name, serial number and firmware version.
  review::RecordingSource Analyzer;
  // The analyzer and start time of the records the monitor data hold: the
  // open analyzer and the last start, or what a reviewed capture tells.
  review::RecordingSource Recording;

  bool Monitoring() const { return MonitorStopped == 0; }
};

}  // namespace orvane::app
