// What the run control and the main frame's commands ask of the windows:
// opening, closing, titling and refreshing them, the file dialogs and the
// wait cursor of the file commands, and posting the exit command. The GUI
// implements it with its MDI area and dialogs; tests implement it with a
// recorder.
//
// Threads: called only on the user-interface thread. The file dialogs block
// until the user has chosen; everything else returns at once (a refresh may
// repaint synchronously).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/AppState.h"

namespace orvane::app {

// The parameters of a file dialog.
struct FileDialogRequest {
  bool save = false;  // a save dialog with an overwrite prompt; else an open dialog
  std::string_view initialName;
  std::string_view defaultExtension;
  std::string_view filter;      // "Name(*.ext)|*.ext|All(*.*)|*.*||"
  std::string_view title = {};  // empty: the platform's own title
};

class WindowRequests {
 public:
  virtual ~WindowRequests() = default;

  // Opens the window (Monitor, Each ID and Capture with their view kinds 0,
  // 1 and 2; Find as a modeless dialog, brought to the front when it is
  // open already). The window sets its flag in AppState::WindowOpen when it
  // opens; returns whether it did.
  virtual bool OpenWindow(Window window) = 0;
  // Closes every window of that kind; each clears its flag as it closes.
  virtual void CloseWindow(Window window) = 0;
  virtual void SetMainTitle(std::string_view title) = 0;
  // Sets the caption of the open Monitor or Each ID window.
  virtual void SetWindowTitle(Window window, std::string_view title) = 0;
  // Activates the child window whose caption begins with `title`.
  virtual void BringToFront(std::string_view title) = 0;
  // Asks every view of every open document to update itself; each view
  // acts on its family's ViewUpdateCode and resets it.
  virtual void RefreshAllViews() = 0;
  // Hands the Signal select and Signal monitor windows the current LIN
  // description and selection again.
  virtual void RefreshSignalWindows() = 0;
  // Publishes the monitor's each-mode setting to the monitor views.
  virtual void PublishEachMode() = 0;
  // Resets the capture and find markers and counters of the monitor views.
  virtual void ResetCaptureAndFind() = 0;
  // Tells an open Find window that monitoring started or stopped.
  virtual void NotifyFindWindow(bool monitoring) = 0;
  // Enables the dialog-bar buttons by the run state (Start, Stop, Capture,
  // the simulation and option buttons, Save Monitor).
  virtual void UpdateDialogBar() = 0;
  virtual void SetSaveCaptureEnabled(bool enabled) = 0;
  // Forgets the saved placements of the main frame and the eight child
  // windows, or of one child window, so that it opens at its default place.
  virtual void ClearSavedPlacements() = 0;
  virtual void ClearSavedPlacement(Window window) = 0;
  // Posts the application-exit command; the close rules then apply.
  virtual void PostExitCommand() = 0;
  // Shows the wait cursor while a file is read (true) and takes it away
  // again (false).
  virtual void SetWaitCursor(bool on) = 0;
  // Runs a file dialog; the chosen path, or nothing when cancelled.
  virtual std::optional<std::string> ChooseFile(const FileDialogRequest& request) = 0;
  // Opens a document with the desktop's application for it; false when
  // that fails.
  virtual bool OpenWithShell(const std::filesystem::path& document) = 0;
};

}  // namespace orvane::app
