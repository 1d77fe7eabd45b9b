// The window, each-mode, log and manual commands, and the availability and
// check marks of the main frame's commands.
#include "app/WindowCommands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/CommandRules.h"
#include "app/LogCommands.h"
#include "tests/analyzer/ScratchFolder.h"
#include "tests/app/RunControlTestSupport.h"

namespace orvane::app {
namespace {

using testing::AppRig;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class WindowCommandsTest : public ::testing::Test {
 protected:
  CommandState StateOf(MainCommand command) {
    return CommandStateOf(command, rig_.state, *rig_.configuration);
  }
  settings::OptionSettingsExt& options() { return rig_.configuration->Settings.Options; }

  AppRig rig_;
};

constexpr CommandState kEnabled{true, false};
constexpr CommandState kDisabled{false, false};
constexpr CommandState kChecked{true, true};

TEST_F(WindowCommandsTest, CommandsFollowTheRunStateModeAndWindows) {
  EXPECT_EQ(StateOf(MainCommand::kStart), kEnabled);
  EXPECT_EQ(StateOf(MainCommand::kStop), kDisabled);
  EXPECT_EQ(StateOf(MainCommand::kCapture), kDisabled);
  EXPECT_EQ(StateOf(MainCommand::kModeNone), kChecked);
  EXPECT_EQ(StateOf(MainCommand::kMasterMonitorWindow), kDisabled);
  EXPECT_EQ(StateOf(MainCommand::kSignalSelectWindow), kDisabled);  // no description
  EXPECT_EQ(StateOf(MainCommand::kEachModeOrderOfNode), kDisabled);
  EXPECT_EQ(StateOf(MainCommand::kFrontStatus), kDisabled);

  rig_.state.WindowOpen[Window::kStatus] = true;
  rig_.state.WindowOpen[Window::kMonitor] = true;
  rig_.configuration->Settings.DescriptionReference = 1;
  rig_.state.IdentifierFieldMode = "ID+DLC";
  EXPECT_EQ(StateOf(MainCommand::kFrontStatus), kEnabled);
  EXPECT_EQ(StateOf(MainCommand::kStatusWindow), kChecked);
  EXPECT_EQ(StateOf(MainCommand::kSignalSelectWindow), kEnabled);
  EXPECT_EQ(StateOf(MainCommand::kIdentifierDefinition), kDisabled);
  EXPECT_EQ(StateOf(MainCommand::kToggleEachMode), kChecked);  // each mode off, Monitor open

  rig_.state.MonitorStopped = 0;
  EXPECT_EQ(StateOf(MainCommand::kStart), kDisabled);
  EXPECT_EQ(StateOf(MainCommand::kStopButton), kEnabled);
  EXPECT_EQ(StateOf(MainCommand::kCapture), kEnabled);
  EXPECT_EQ(StateOf(MainCommand::kFindWindow), kDisabled);
  EXPECT_EQ(StateOf(MainCommand::kExit), kDisabled);
  EXPECT_EQ(StateOf(MainCommand::kModeNone), (CommandState{false, true}));

  rig_.state.SimulationMode = kModeBaudrate;
  EXPECT_EQ(StateOf(MainCommand::kCapture), kDisabled);
  EXPECT_EQ(StateOf(MainCommand::kMonitorWindow), (CommandState{false, true}));
  EXPECT_EQ(StateOf(MainCommand::kStatusWindow), kChecked);
  rig_.state.MonitorStopped = 1;
  EXPECT_EQ(StateOf(MainCommand::kCopyMonitorLog), kDisabled);
  EXPECT_EQ(StateOf(MainCommand::kModeBaudrate), kChecked);
  EXPECT_EQ(StateOf(static_cast<MainCommand>(12345)), kDisabled);
}

TEST_F(WindowCommandsTest, TogglesGiveTitlesAndTheSaveCaptureButton) {
  options().EachMode = 1;
  options().SortOrder = settings::kOrderOfNode;
  ToggleWindow(rig_.context(), Window::kMonitor);
  ToggleWindow(rig_.context(), Window::kEachId);
  ToggleWindow(rig_.context(), Window::kCapture);
  ToggleWindow(rig_.context(), Window::kCapture);
  ToggleWindow(rig_.context(), Window::kMonitor);
  EXPECT_THAT(
      rig_.windows.events,
      ElementsAre("open Monitor",
                  "title Monitor: Monitor Window (Each Mode : Order of Node) - [Monitor Mode]",
                  "open EachId", "title EachId: Each ID Window - (Order of Node)", "open Capture",
                  "save capture on", "close Capture", "save capture off", "close Monitor"));
}

TEST_F(WindowCommandsTest, CaptureOpensTellsTheViewsAndComesToTheFront) {
  TakeCapture(rig_.context());
  TakeCapture(rig_.context());
  EXPECT_THAT(
      rig_.windows.events,
      ElementsAre("open Capture", "refresh monitor=11 status=0 master=0 slave=0", "save capture on",
                  "front Capture Window", "refresh monitor=11 status=0 master=0 slave=0",
                  "save capture on", "front Capture Window"));
  rig_.windows.events.clear();
  BringWindowToFront(rig_.context(), Window::kSlaveMonitor);  // closed: nothing
  BringWindowToFront(rig_.context(), Window::kCapture);
  ShowFindWindow(rig_.context());
  EXPECT_THAT(rig_.windows.events, ElementsAre("front Capture Window", "open Find"));
}

TEST_F(WindowCommandsTest, StandardLayoutReopensTheOpenWindowsInItsOrder) {
  rig_.state.WindowOpen[Window::kEachId] = true;
  rig_.state.WindowOpen[Window::kStatus] = true;
  rig_.state.WindowOpen[Window::kMonitor] = true;
  ApplyStandardLayout(rig_.context());
  EXPECT_THAT(
      rig_.windows.events,
      ElementsAre("clear placements", "close Monitor", "clear placement Monitor", "open Monitor",
                  "title Monitor: Monitor Window - [Monitor Mode]", "close Status",
                  "clear placement Status", "open Status", "close EachId", "clear placement EachId",
                  "open EachId", "title EachId: Each ID Window - (Order of ID)"));
}

TEST_F(WindowCommandsTest, StandardLayoutAlsoReopensThePlotAndStatisticsWindows) {
  rig_.state.WindowOpen[Window::kBusStatistics] = true;
  rig_.state.WindowOpen[Window::kSignalPlot] = true;
  ApplyStandardLayout(rig_.context());
  EXPECT_THAT(rig_.windows.events,
              ElementsAre("clear placements", "close SignalPlot", "clear placement SignalPlot",
                          "open SignalPlot", "close BusStatistics", "clear placement BusStatistics",
                          "open BusStatistics"));
}

TEST_F(WindowCommandsTest, EachModeCommandsTurnOnSwitchOrderAndTurnOff) {
  rig_.state.WindowOpen[Window::kMonitor] = true;
  SelectEachModeOrder(rig_.context(), settings::kOrderOfId);  // off: on with Order of ID
  EXPECT_EQ(options().EachMode, 1u);
  SelectEachModeOrder(rig_.context(), settings::kOrderOfNode);  // on: switches the order
  EXPECT_EQ(options().EachMode, 1u);
  EXPECT_EQ(options().SortOrder, settings::kOrderOfNode);
  SelectEachModeOrder(rig_.context(), settings::kOrderOfNode);  // on with that order: off
  EXPECT_EQ(options().EachMode, 0u);
  ToggleEachMode(rig_.context());
  EXPECT_EQ(options().EachMode, 1u);
  EXPECT_EQ(rig_.windows.events.back(),
            "title Monitor: Monitor Window (Each Mode : Order of Node) - [Monitor Mode]");
  EXPECT_EQ(std::count(rig_.windows.events.begin(), rig_.windows.events.end(), "publish each mode"),
            4);

  rig_.state.MonitorStopped = 0;  // none of them while monitoring
  ToggleEachMode(rig_.context());
  SelectEachModeOrder(rig_.context(), settings::kOrderOfId);
  EXPECT_EQ(options().EachMode, 1u);
  EXPECT_EQ(options().SortOrder, settings::kOrderOfNode);
}

TEST_F(WindowCommandsTest, ManualFollowsTheLanguageAndReportsAFailure) {
  EXPECT_EQ(ManualPath(rig_.state), rig_.folder / "vxlmane.html");
  rig_.state.LanguageCode = "JPN";
  // The Japanese manual only when it is there; a folder of that name is not it.
  EXPECT_EQ(ManualPath(rig_.state), rig_.folder / "vxlmane.html");
  std::filesystem::create_directory(rig_.folder / "vxlmanj.html");
  EXPECT_EQ(ManualPath(rig_.state), rig_.folder / "vxlmane.html");
  std::filesystem::remove(rig_.folder / "vxlmanj.html");
  std::ofstream(rig_.folder / "vxlmanj.html") << "<html></html>";
  EXPECT_EQ(ManualPath(rig_.state), rig_.folder / "vxlmanj.html");
  OpenManual(rig_.context());
  EXPECT_EQ(rig_.windows.events.back(), "shell open " + (rig_.folder / "vxlmanj.html").string());
  EXPECT_THAT(rig_.sink.Texts(), IsEmpty());
  rig_.state.LanguageCode = "ENG";
  EXPECT_EQ(ManualPath(rig_.state), rig_.folder / "vxlmane.html");
  rig_.windows.shellOpens = false;
  OpenManual(rig_.context());
  EXPECT_THAT(rig_.sink.Texts(), ElementsAre("Users Manual Open Error"));
}

TEST_F(WindowCommandsTest, MonitorLogIsSavedAndCopiedAsLogLines) {
  testing::ServedBlocks blocks(rig_);
  blocks.records = 2;
  ASSERT_TRUE(rig_.run().Start());
  blocks.WaitForMore();
  blocks.records = 0;
  rig_.run().Stop();
  ASSERT_GT(rig_.DrainStop(), 0);
  ASSERT_TRUE(AppRig::WaitUntil([&] { return !rig_.run().acquisition().Running(); }));

  rig_.windows.chosenFile = (rig_.folder / "saved.log").string();
  ASSERT_TRUE(SaveMonitorLog(rig_.context()));
  EXPECT_EQ(rig_.windows.events.back(),
            "save dialog default.log (log) Log File(*.log)|*.log|All(*.*)|*.*||");
  const std::string saved = analyzer::test::ReadFile(rig_.folder / "saved.log");
  const std::string line =
      " 00:00:00.000     ,M,Rx,End       ,  -         ,10,00,00,  ,  ,  ,  ,  ,  ,00\r\n";
  ASSERT_GE(saved.size(), 6 * line.size());
  EXPECT_EQ(saved.substr(0, line.size()), line);
  EXPECT_EQ(CopyMonitorLog(rig_.context()), saved);
  EXPECT_FALSE(std::filesystem::exists(rig_.folder / "log.$$$"));

  rig_.windows.chosenFile = (rig_.folder / "gone" / "saved.log").string();
  EXPECT_FALSE(SaveMonitorLog(rig_.context()));
  EXPECT_THAT(rig_.sink.Texts(), ElementsAre("Log file preparation failed."));
}

}  // namespace
}  // namespace orvane::app
