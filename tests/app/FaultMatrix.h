// The fault matrix: every run state of the program against every fault of
// the virtual analyzer and of the disk, with the outcome each pair has, or
// why the pair does not apply. FaultMatrixTest.cpp runs the pairs.
#pragma once

#include <string>
#include <vector>

namespace orvane::app::testing {

enum class RunState {
  kIdle,
  kMonitorLogging,
  kMasterPattern,
  kSlave,
  kBaudMeasurement,
  kFirmwareUpdate,
  kStopDraining,
  kConfigurationSave,
};
constexpr int kRunStateCount = 8;

enum class Fault {
  kUnplug,
  kReplug,
  kStalledReply,
  kGarbledReply,
  kBlockOf26,
  kBlockOf150,
  kFlashEraseFails,
  kFlashWriteFails,
  kBusBaudMismatch,
  kLogDiskFull,
  kConfigurationDiskFull,
};
constexpr int kFaultCount = 11;

// How a run that was going on when the fault came ended.
enum class RunOutcome {
  kNone,        // no run in this state
  kGoesOn,      // monitored until the user stopped it
  kEnds,        // ended by itself before the user stopped it
  kNotStarted,  // the user's next start failed
};

// What else the pair is known by.
enum class Effect {
  kNone,
  kErrorRecords,        // the bus records errors instead of frames
  kMeasured19200,       // the measurement reports the bus's 19200 bit/s
  kMeasurementFails,    // reading the measured rate fails (Status shows "Error")
  kUpdateNotComplete,   // "Downloading is not complete." and the version area erased
  kUpdateComplete,      // "Downloading is almost complete." and the version written
  // Complete, or, when the replug cut an exchange short, not complete with
  // "Download error." and the version area erased: which one depends on
  // where in the download the replug falls.
  kUpdateCompleteOrNotComplete,
  kUpdateRefused,       // "Downloading is not complete." and the flash unchanged
  kNothingAfterReplug,  // the rebooted unit records nothing more
};

struct Case {
  RunState state;
  Fault fault;
  const char* notApplicable;  // the reason, or nullptr when the pair applies
  std::vector<std::string> messages;
  RunOutcome run = RunOutcome::kNone;
  bool programEnds = false;
  Effect effect = Effect::kNone;
};

// Every pair, state by state, faults in the order of Fault.
std::vector<Case> FaultMatrix();

// "Idle_Unplug" and so on.
std::string PairName(RunState state, Fault fault);

}  // namespace orvane::app::testing
