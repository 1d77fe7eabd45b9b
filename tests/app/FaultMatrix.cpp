#include "tests/app/FaultMatrix.h"

#include "app/ConfigurationCommands.h"
#include "app/RunControl.h"

namespace orvane::app::testing {
namespace {

const std::string kCommunicationEnd(kUsbCommunicationErrorText);
const std::string kDisconnectionEnd(kUsbDisconnectedText);
const std::string kReadError2 = "Monitor Data Read Error.(2)";
const std::string kReadError1 = "Monitor Data Read Error.(1)";
const std::string kReadError3 = "Monitor Data Read Error.(3)";
const std::string kDownloadError = "Download error.";

Case Applies(RunState state, Fault fault, std::vector<std::string> messages, RunOutcome run,
             bool programEnds, Effect effect = Effect::kNone) {
  return {state, fault, nullptr, std::move(messages), run, programEnds, effect};
}
Case NotApplicable(RunState state, Fault fault, const char* reason) {
  return {state, fault, reason, {}};
}

constexpr bool kEnds = true;
constexpr bool kGoesOn = false;

constexpr const char* kStateNames[kRunStateCount] = {
    "Idle",           "MonitorLogging", "MasterPattern",    "Slave", "BaudMeasurement",
    "FirmwareUpdate", "StopDraining",   "ConfigurationSave"};
constexpr const char* kFaultNames[kFaultCount] = {
    "Unplug",          "Replug",      "StalledReply",         "GarbledReply",
    "BlockOf26",       "BlockOf150",  "FlashEraseFails",      "FlashWriteFails",
    "BusBaudMismatch", "LogDiskFull", "ConfigurationDiskFull"};

}  // namespace

std::vector<Case> FaultMatrix() {
  using S = RunState;
  using F = Fault;
  const char* noFlash = "no flash command outside a firmware update";
  const char* noLog = "no live log is open";
  const char* noConfig = "the configuration is written only by the save";
  const char* noBlocks = "no monitor block is read";
  const char* noDevice = "the save touches only the disk";
  return {
      // Idle: the fault is met by the 1 s device check and the user's next start.
      Applies(S::kIdle, F::kUnplug, {kDisconnectionEnd}, RunOutcome::kNone, kEnds),
      Applies(S::kIdle, F::kReplug, {"Monitor Execution Error."}, RunOutcome::kNotStarted, kGoesOn),
      Applies(S::kIdle, F::kStalledReply, {"Monitor Execution Error."}, RunOutcome::kNotStarted,
              kGoesOn),
      Applies(S::kIdle, F::kGarbledReply, {"Monitor Execution Error."}, RunOutcome::kNotStarted,
              kGoesOn),
      NotApplicable(S::kIdle, F::kBlockOf26, noBlocks),
      NotApplicable(S::kIdle, F::kBlockOf150, noBlocks),
      NotApplicable(S::kIdle, F::kFlashEraseFails, noFlash),
      NotApplicable(S::kIdle, F::kFlashWriteFails, noFlash),
      Applies(S::kIdle, F::kBusBaudMismatch, {}, RunOutcome::kGoesOn, kGoesOn,
              Effect::kErrorRecords),
      NotApplicable(S::kIdle, F::kLogDiskFull, noLog),
      NotApplicable(S::kIdle, F::kConfigurationDiskFull, noConfig),

      Applies(S::kMonitorLogging, F::kUnplug, {kReadError2, kCommunicationEnd}, RunOutcome::kEnds,
              kEnds),
      Applies(S::kMonitorLogging, F::kReplug, {}, RunOutcome::kGoesOn, kGoesOn,
              Effect::kNothingAfterReplug),
      Applies(S::kMonitorLogging, F::kStalledReply, {}, RunOutcome::kGoesOn, kGoesOn),
      Applies(S::kMonitorLogging, F::kGarbledReply, {}, RunOutcome::kGoesOn, kGoesOn),
      Applies(S::kMonitorLogging, F::kBlockOf26, {}, RunOutcome::kGoesOn, kGoesOn),
      Applies(S::kMonitorLogging, F::kBlockOf150, {kReadError1, kCommunicationEnd},
              RunOutcome::kEnds, kEnds),
      NotApplicable(S::kMonitorLogging, F::kFlashEraseFails, noFlash),
      NotApplicable(S::kMonitorLogging, F::kFlashWriteFails, noFlash),
      Applies(S::kMonitorLogging, F::kBusBaudMismatch, {}, RunOutcome::kGoesOn, kGoesOn,
              Effect::kErrorRecords),
      Applies(S::kMonitorLogging, F::kLogDiskFull, {kReadError3}, RunOutcome::kEnds, kGoesOn),
      NotApplicable(S::kMonitorLogging, F::kConfigurationDiskFull, noConfig),

      Applies(S::kMasterPattern, F::kUnplug, {kReadError2, kCommunicationEnd}, RunOutcome::kEnds,
              kEnds),
      // The rebooted unit refuses the next table download.
      Applies(S::kMasterPattern, F::kReplug, {"Simulation data setting NG!."}, RunOutcome::kEnds,
              kGoesOn),
      Applies(S::kMasterPattern, F::kStalledReply, {"Simulation data setting NG!."},
              RunOutcome::kEnds, kGoesOn),
      Applies(S::kMasterPattern, F::kGarbledReply, {"Simulation data setting NG!."},
              RunOutcome::kEnds, kGoesOn),
      Applies(S::kMasterPattern, F::kBlockOf26, {}, RunOutcome::kGoesOn, kGoesOn),
      Applies(S::kMasterPattern, F::kBlockOf150, {kReadError1, kCommunicationEnd},
              RunOutcome::kEnds, kEnds),
      NotApplicable(S::kMasterPattern, F::kFlashEraseFails, noFlash),
      NotApplicable(S::kMasterPattern, F::kFlashWriteFails, noFlash),
      // The unit masters the bus at its own configured rate.
      Applies(S::kMasterPattern, F::kBusBaudMismatch, {}, RunOutcome::kGoesOn, kGoesOn),
      Applies(S::kMasterPattern, F::kLogDiskFull, {kReadError3}, RunOutcome::kEnds, kGoesOn),
      NotApplicable(S::kMasterPattern, F::kConfigurationDiskFull, noConfig),

      Applies(S::kSlave, F::kUnplug, {kReadError2, kCommunicationEnd}, RunOutcome::kEnds, kEnds),
      Applies(S::kSlave, F::kReplug, {"Slave Simulation Setting Error."}, RunOutcome::kGoesOn,
              kGoesOn, Effect::kNothingAfterReplug),
      Applies(S::kSlave, F::kStalledReply, {"Slave Simulation Setting Error."}, RunOutcome::kGoesOn,
              kGoesOn),
      Applies(S::kSlave, F::kGarbledReply, {"Slave Simulation Setting Error."}, RunOutcome::kGoesOn,
              kGoesOn),
      Applies(S::kSlave, F::kBlockOf26, {}, RunOutcome::kGoesOn, kGoesOn),
      Applies(S::kSlave, F::kBlockOf150, {kReadError1, kCommunicationEnd}, RunOutcome::kEnds,
              kEnds),
      NotApplicable(S::kSlave, F::kFlashEraseFails, noFlash),
      NotApplicable(S::kSlave, F::kFlashWriteFails, noFlash),
      Applies(S::kSlave, F::kBusBaudMismatch, {}, RunOutcome::kGoesOn, kGoesOn,
              Effect::kErrorRecords),
      Applies(S::kSlave, F::kLogDiskFull, {kReadError3}, RunOutcome::kEnds, kGoesOn),
      NotApplicable(S::kSlave, F::kConfigurationDiskFull, noConfig),

      Applies(S::kBaudMeasurement, F::kUnplug, {kReadError2, kCommunicationEnd}, RunOutcome::kEnds,
              kEnds, Effect::kMeasurementFails),
      Applies(S::kBaudMeasurement, F::kReplug, {}, RunOutcome::kGoesOn, kGoesOn),
      Applies(S::kBaudMeasurement, F::kStalledReply, {}, RunOutcome::kGoesOn, kGoesOn,
              Effect::kMeasurementFails),
      Applies(S::kBaudMeasurement, F::kGarbledReply, {}, RunOutcome::kGoesOn, kGoesOn,
              Effect::kMeasurementFails),
      Applies(S::kBaudMeasurement, F::kBlockOf26, {}, RunOutcome::kGoesOn, kGoesOn),
      Applies(S::kBaudMeasurement, F::kBlockOf150, {kReadError1, kCommunicationEnd},
              RunOutcome::kEnds, kEnds),
      NotApplicable(S::kBaudMeasurement, F::kFlashEraseFails, noFlash),
      NotApplicable(S::kBaudMeasurement, F::kFlashWriteFails, noFlash),
      Applies(S::kBaudMeasurement, F::kBusBaudMismatch, {}, RunOutcome::kGoesOn, kGoesOn,
              Effect::kMeasured19200),
      // Nothing more is written to the log, so nothing fails.
      Applies(S::kBaudMeasurement, F::kLogDiskFull, {}, RunOutcome::kGoesOn, kGoesOn),
      NotApplicable(S::kBaudMeasurement, F::kConfigurationDiskFull, noConfig),

      // The update runs at start-up, before the main frame and its device check.
      Applies(S::kFirmwareUpdate, F::kUnplug, {kDownloadError}, RunOutcome::kNone, kGoesOn,
              Effect::kUpdateNotComplete),
      // The boot program writes the flash as well, and the flash keeps what was
      // written; a reply lost in the replug fails the download (the messages
      // follow the outcome).
      Applies(S::kFirmwareUpdate, F::kReplug, {}, RunOutcome::kNone, kGoesOn,
              Effect::kUpdateCompleteOrNotComplete),
      Applies(S::kFirmwareUpdate, F::kStalledReply, {kDownloadError}, RunOutcome::kNone, kGoesOn,
              Effect::kUpdateNotComplete),
      Applies(S::kFirmwareUpdate, F::kGarbledReply, {kDownloadError}, RunOutcome::kNone, kGoesOn,
              Effect::kUpdateNotComplete),
      NotApplicable(S::kFirmwareUpdate, F::kBlockOf26, noBlocks),
      NotApplicable(S::kFirmwareUpdate, F::kBlockOf150, noBlocks),
      // The version area is the first thing erased: nothing else happens.
      Applies(S::kFirmwareUpdate, F::kFlashEraseFails, {kDownloadError}, RunOutcome::kNone, kGoesOn,
              Effect::kUpdateRefused),
      Applies(S::kFirmwareUpdate, F::kFlashWriteFails, {kDownloadError}, RunOutcome::kNone, kGoesOn,
              Effect::kUpdateNotComplete),
      Applies(S::kFirmwareUpdate, F::kBusBaudMismatch, {}, RunOutcome::kNone, kGoesOn,
              Effect::kUpdateComplete),
      NotApplicable(S::kFirmwareUpdate, F::kLogDiskFull, noLog),
      NotApplicable(S::kFirmwareUpdate, F::kConfigurationDiskFull, noConfig),

      // The user has pressed Stop; the drain is under way when the fault comes.
      // The drain does not look at the thread's failure; the device check comes first.
      Applies(S::kStopDraining, F::kUnplug, {kReadError2, kDisconnectionEnd}, RunOutcome::kEnds,
              kEnds),
      Applies(S::kStopDraining, F::kReplug, {}, RunOutcome::kEnds, kGoesOn),
      Applies(S::kStopDraining, F::kStalledReply, {}, RunOutcome::kEnds, kGoesOn),
      Applies(S::kStopDraining, F::kGarbledReply, {}, RunOutcome::kEnds, kGoesOn),
      Applies(S::kStopDraining, F::kBlockOf26, {}, RunOutcome::kEnds, kGoesOn),
      Applies(S::kStopDraining, F::kBlockOf150, {kReadError1, kCommunicationEnd}, RunOutcome::kEnds,
              kEnds),
      NotApplicable(S::kStopDraining, F::kFlashEraseFails, noFlash),
      NotApplicable(S::kStopDraining, F::kFlashWriteFails, noFlash),
      Applies(S::kStopDraining, F::kBusBaudMismatch, {}, RunOutcome::kEnds, kGoesOn),
      // The stopped unit has no record left to log.
      Applies(S::kStopDraining, F::kLogDiskFull, {}, RunOutcome::kEnds, kGoesOn),
      NotApplicable(S::kStopDraining, F::kConfigurationDiskFull, noConfig),

      NotApplicable(S::kConfigurationSave, F::kUnplug, noDevice),
      NotApplicable(S::kConfigurationSave, F::kReplug, noDevice),
      NotApplicable(S::kConfigurationSave, F::kStalledReply, noDevice),
      NotApplicable(S::kConfigurationSave, F::kGarbledReply, noDevice),
      NotApplicable(S::kConfigurationSave, F::kBlockOf26, noDevice),
      NotApplicable(S::kConfigurationSave, F::kBlockOf150, noDevice),
      NotApplicable(S::kConfigurationSave, F::kFlashEraseFails, noDevice),
      NotApplicable(S::kConfigurationSave, F::kFlashWriteFails, noDevice),
      NotApplicable(S::kConfigurationSave, F::kBusBaudMismatch, noDevice),
      NotApplicable(S::kConfigurationSave, F::kLogDiskFull, noLog),
      Applies(S::kConfigurationSave, F::kConfigurationDiskFull,
              {std::string(kSelectProjectFileText), "Error[109]"}, RunOutcome::kNone, kGoesOn),
  };
}

std::string PairName(RunState state, Fault fault) {
  return std::string(kStateNames[static_cast<int>(state)]) + "_" +
         kFaultNames[static_cast<int>(fault)];
}

}  // namespace orvane::app::testing
