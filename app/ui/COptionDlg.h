// The "Option Setup" dialog (command 32791): baud rate, frame
// parameters, logging, monitor mask, pattern handling, wake-up length (LIN
// 2.0 only) and the Each ID order, in tabs.
//
// It edits the context's OptionSettings directly and a copy of the settings
// record's OptionSettingsExt, written back only on OK. The mask's
// Enable/Disable and the pattern radio buttons take effect when clicked, so
// Cancel does not undo them. OK checks the fields in a fixed order; a
// failure shows its message through the context's MessageSink and keeps the
// dialog open with the offending field focused and selected. A successful OK
// sets the monitor views' ViewUpdateCode to 1 and refreshes all views; the
// caller then runs app::OptionSetupAccepted (the analyzer is not written here).
//
// Modal, used only while monitoring is stopped. Threads: the user-interface
// thread only.
#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

#include "app/AppContext.h"
#include "settings/OptionSettings.h"

class QTabWidget;

namespace orvane::ui {

class OptionBaudPage;
class OptionEachModePage;
class OptionFramePage;
class OptionLoggingPage;
class OptionMaskPage;
class OptionPatternPage;
class OptionWakeupPage;

class COptionDlg final : public QDialog {
  Q_OBJECT

 public:
  // `descriptionLoaded`: whether a LIN description is loaded ("Order of
  // Node" needs one); `linRevision`: 0 LIN 1.3 (no "Wakeup" tab), 1 LIN 2.0.
  COptionDlg(const app::AppContext& context, bool descriptionLoaded, std::uint32_t linRevision,
             QWidget* parent = nullptr);
  // The same with the flag and the revision taken from the context.
  explicit COptionDlg(const app::AppContext& context, QWidget* parent = nullptr);
  ~COptionDlg() override;

  // The copy of OptionSettingsExt the dialog edits.
  const settings::OptionSettingsExt& EditedExt() const { return ext_; }

 public Q_SLOTS:
  void accept() override;

 private:
  void Fill();
  void OnTabChanged(int index);
  // The checks made when a tab is left; false (message shown, field
  // focused) when the tab may not be left.
  bool CanLeave(QWidget* page);
  bool CheckSpaces();
  bool CheckLogFile(const std::string& candidate);
  void ShowPage(QWidget* page);

  const app::AppContext& context_;
  settings::OptionSettings& options_;
  settings::OptionSettingsExt ext_;
  std::uint32_t linRevision_;

  QTabWidget* tabs_;
  OptionBaudPage* baudPage_;
  OptionFramePage* framePage_;
  OptionLoggingPage* loggingPage_;
  OptionMaskPage* maskPage_;
  OptionPatternPage* patternPage_;
  OptionWakeupPage* wakeupPage_ = nullptr;  // LIN 2.0 only
  OptionEachModePage* eachModePage_;
  int currentTab_ = 0;
  bool switchingTabs_ = false;  // a tab change of the dialog's own, not checked
};

}  // namespace orvane::ui
