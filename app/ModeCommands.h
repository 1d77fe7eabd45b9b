// The main frame's commands that change what the analyzer does while
// monitoring is stopped: the simulation mode (None, Master Simulation, Slave
// Simulation, Baudrate measurement) and the follow-up of the setup dialogs
// (master and slave simulation, options, special frames, identifier
// definition).
//
// Threads: the user-interface thread. Each command blocks on its register
// writes and, for the setups, on the dialog the caller runs.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "app/AppContext.h"

namespace orvane::app {

inline constexpr std::string_view kChangeToMasterQuestion =
    "Do you want to change to Master Simulation Mode?";
inline constexpr std::string_view kChangeToSlaveQuestion =
    "Do you want to change to Slave Simulation Mode?";
inline constexpr std::string_view kSimulationModeCaption = "Simulation Mode";

// The analyzer's mode code of a simulation mode: None 0, Master 2, Slave 1,
// Baudrate measurement 3.
std::uint8_t AnalyzerModeOf(std::int32_t simulationMode);

// Commands 32796, 32809, 32810 (None, Master, Slave): nothing while
// monitoring or when the mode is already `mode`. The new mode is written to
// the analyzer; a failure shows message 100 and the new mode stays. Then the
// simulation monitor windows follow the mode (Master opens its own and
// closes the Slave one, Slave the reverse, None closes both) and the Monitor
// window is re-titled. Baudrate measurement goes through
// ChangeToBaudrateMeasurement. Returns whether `mode` is active and the
// analyzer runs in it.
bool ChangeMode(const AppContext& context, std::int32_t mode);

// Command 32828: nothing while monitoring or in that mode already. On
// success every monitor-type window closes and the Status window opens; a
// failure shows message 100 and the previous mode comes back. Returns
// whether the baud-rate measurement is active.
bool ChangeToBaudrateMeasurement(const AppContext& context);

// Runs a setup dialog; true when it ended with OK.
using SetupDialog = std::function<bool()>;

// Command 32807: keeps a copy of the master model (schedules, interrupt
// slot, names, extended files, run settings) and runs the dialog. Cancel
// restores the copy. OK offers to change to Master Simulation when another
// mode is active, then tells an open master simulation monitor.
void RunMasterSimulationSetup(const AppContext& context, const SetupDialog& dialog);

// Command 32808: the same for the slave responses and master identifier;
// OK tells the slave simulation monitor, then offers to change to Slave
// Simulation.
void RunSlaveSimulationSetup(const AppContext& context, const SetupDialog& dialog);

// Command 32791, after the option dialog ended with OK: publishes the each
// mode and writes the frame parameters; on success the views learn of the
// new settings and the Monitor and signal windows follow, on failure message
// 102 (the settings stay changed in the program).
void OptionSetupAccepted(const AppContext& context);

// Command 32832, after the special frame setup dialog ended with OK: the
// monitor views learn of the new settings (ViewUpdateCode 1).
void FrameHighlightSetupAccepted(const AppContext& context);

// Command 32804, after the identifier definition dialog ended with OK:
// writes the length table; on success open simulation monitors learn of
// it, on failure "DL Definition Error.    ".
void IdentifierDefinitionAccepted(const AppContext& context);

}  // namespace orvane::app
