// What the Signal select and Signal monitor windows read, and the few
// things both do alike: the selection bytes of the settings record as the
// signals core sees them, the sort order, the caption, and a frame that
// carries its view's caption.
//
// Every part belongs to the application, which keeps it alive for as long
// as a window is open; the windows keep references.
//
// Threads: the user-interface thread. The frame table is written by the
// acquisition thread without a lock (monitor/MonitorState.h).
#pragma once

#include <QString>

#include "app/AppContext.h"
#include "app/AppState.h"
#include "app/LoadedDescription.h"
#include "monitor/MonitorState.h"
#include "settings/SettingsRecord.h"
#include "signals/SignalDisplayOrder.h"
#include "signals/SignalSelection.h"

class QMdiSubWindow;
class QWidget;

namespace orvane::ui {

struct SignalSources {
  // The loaded LIN description, if any.
  const app::LoadedDescription& description;
  // Description path, signal selection and sort order.
  settings::SettingsRecord& settings;
  // AcquisitionRunning.
  const app::AppState& state;
  // The latest complete frame of every identifier and its counter.
  const monitor::LastFrameSlots& frames;
};

SignalSources SignalSourcesOf(const app::AppContext& context);

using app::SelectionOf;

// The settings' sort order; any value but Order of Node is Order of ID.
signals::SortOrder SortOrderOf(const settings::SettingsRecord& settings);

// The window's base name followed by " - (Each Mode : Order of ID) - [" or
// " - (Each Mode : Order of Node) - [", the description path and "]".
QString SignalWindowCaption(app::Window window, const settings::SettingsRecord& settings);

// " (relaxed)" for a description loaded with relaxed rules, which the
// signal windows add to their caption; empty otherwise.
QString RelaxedMarker(const signals::LinDescription* description);

// Puts `view` into `frame` and keeps the frame's caption equal to the
// view's window title.
void CarryView(QMdiSubWindow& frame, QWidget* view);

}  // namespace orvane::ui
