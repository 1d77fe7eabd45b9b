// The whole desktop program in process, for GUI tests: COrvaneApp on the
// link library linked in, over a virtual analyzer that runs in real time
// (so the program's timers and the acquisition thread see real traffic),
// with message boxes, file dialogs and the LIN revision question answered
// by the test, its saved state in a folder of its own and its program
// folder in another.
#pragma once

#include <QTemporaryDir>

class QMdiSubWindow;
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/ui/COrvaneApp.h"
#include "emulator/AnalyzerProfile.h"
#include "emulator/VirtualAnalyzer.h"

namespace orvane::testing {

struct RecordedBox {
  std::string caption;
  std::string text;
  monitor::MessageIcon icon;
  std::string detail;       // the box's detailed text
  std::string extraButton;  // the label of its further button
};

class ProgramHarness {
 public:
  explicit ProgramHarness(emulator::AnalyzerProfile profile = ProfileForGui());
  ~ProgramHarness();

  // The clean profile: no injected errors, sleeps or I/O events.
  static emulator::AnalyzerProfile ProfileForGui();

  // Makes the program and runs its start-up with `arguments` (--nosplash is
  // added). The exit status when it ended at once.
  std::optional<int> Start(QStringList arguments = {});
  ui::COrvaneApp& app() { return *app_; }
  ui::CMainFrame& frame() { return *app_->mainFrame(); }
  emulator::VirtualAnalyzer& analyzer() { return *analyzer_; }
  // The folder the program runs from (default.cfg, logs).
  std::filesystem::path programFolder() const;
  // Where QSettings keeps the saved state of this test.
  QString settingsFolder() const { return settingsFolder_.path(); }

  // Boxes shown so far; questions (and boxes with a further button) are
  // answered with the next queued answer, OK when none is queued.
  std::vector<RecordedBox> boxes;
  std::deque<monitor::MessageAnswer> answers;
  // The file dialogs' answer, and the requests they got.
  std::optional<std::string> chosenFile;
  std::vector<std::string> fileDialogTitles;
  // The single-instance name; unique to the harness unless a test shares it.
  QString instanceName;

  // Processes events until `done` holds or `timeoutMs` passed; whether it held.
  static bool WaitFor(const std::function<bool()>& done, int timeoutMs);
  // Whether the main frame has closed (the program has ended).
  bool Ended() const;
  // The MDI window whose caption begins with `prefix`, or null.
  QMdiSubWindow* SubWindowTitled(const QString& prefix);

 private:
  QTemporaryDir settingsFolder_;
  QTemporaryDir programFolder_;
  std::shared_ptr<emulator::VirtualAnalyzer> analyzer_;
  std::unique_ptr<ui::COrvaneApp> app_;
};

// The environment the harness runs the program in.
ui::AppEnvironment EnvironmentFor(ProgramHarness& harness);

}  // namespace orvane::testing
