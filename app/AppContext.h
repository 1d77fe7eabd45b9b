// What the main frame's run control and commands work on: the application's
// state, configuration and monitor data, the analyzer, the simulation run
// states, the two ways out to the user (message boxes and window requests),
// the loaded LIN description and the capture buffer. The application owns
// every part; tests make their own.
//
// Threads: the user-interface thread only (see the headers of the parts for
// what the acquisition thread shares).
#pragma once

#include "analyzer/Acquisition.h"
#include "analyzer/RegisterMap.h"
#include "app/AppState.h"
#include "app/Configuration.h"
#include "app/LoadedDescription.h"
#include "app/WindowRequests.h"
#include "monitor/MessageSink.h"
#include "monitor/MonitorState.h"
#include "signals/SignalSelection.h"
#include "simulation/MasterRun.h"
#include "simulation/SlaveSimulation.h"
#include "views/Capture.h"

namespace orvane::app {

struct AppContext {
  AppState& state;
  Configuration& configuration;
  monitor::MonitorState& monitor;
  const analyzer::RegisterMap& analyzer;
  simulation::MasterRunState& master;
  simulation::SlaveRunState& slave;
  monitor::MessageSink& messages;
  WindowRequests& windows;
  LoadedDescription& description;
  views::CaptureBuffer& capture;
};

// The master and slave simulation steps bound to the context's model.
simulation::MasterSimulation MasterSimulationOf(const AppContext& context);
simulation::SlaveSimulation SlaveSimulationOf(const AppContext& context);

// How the log shows records under the current settings.
monitor::LogFormat MakeLogFormat(const settings::IdentifierDefinition& identifiers,
                                 const settings::OptionSettingsExt& options,
                                 std::string_view identifierFieldMode, std::string_view dataRadix);

// What the acquisition thread of a run starting now needs: logging, the
// live log's name (LogPath, already formed for the run), the log format, the
// monitor mask and the Each ID order: with Order of Node and a loaded
// description, that description's node order. The node order belongs to
// the loaded description; whoever starts a thread with it keeps it alive
// (LoadedDescription::NodeOrder) until the thread has ended.
analyzer::AcquisitionSettings MakeAcquisitionSettings(const AppContext& context);

// The settings record's 520 signal selection bytes, read and changed in
// place.
signals::SignalSelection SelectionOf(settings::SettingsRecord& settings);

// How the log saves show records now: the reviewed file's layout while a
// review is shown, else the current settings'.
monitor::LogFormat CurrentLogFormat(const AppContext& context);

}  // namespace orvane::app
