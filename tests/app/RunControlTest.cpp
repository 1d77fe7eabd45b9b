// The run control against the virtual analyzer on virtual time: start and
// stop with the drain, start failures, acquisition failures, device loss,
// the simulation tick and key triggers. Monitor blocks are served by the
// test where their contents or timing matter.
#include "app/RunControl.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>

#include "analyzer/RegisterMap.h"
#include "app/ExitCommands.h"
#include "settings/FixedText.h"
#include "monitor/MessageCatalogue.h"
#include "tests/app/RunControlTestSupport.h"

namespace orvane::app {
namespace {

using std::chrono::milliseconds;
using testing::AppRig;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using testing::ServedBlocks;

constexpr char kStartRefresh[] = "refresh monitor=5 status=5 master=0 slave=5";
constexpr char kStopRefresh[] = "refresh monitor=6 status=6 master=0 slave=6";

class RunControlTest : public ::testing::Test {
 protected:
  Configuration& configuration() { return *rig_.configuration; }
  settings::OptionSettingsExt& options() { return configuration().Settings.Options; }
  std::string LogNumber() { return std::string(settings::FieldText(options().LogNumber)); }
  AppRig rig_;
};

TEST_F(RunControlTest, StartAndStopInMonitorModeDrainUntilAnEmptyBlock) {
  ServedBlocks blocks(rig_);
  blocks.records = 3;
  rig_.state.WindowOpen[Window::kFind] = true;

  ASSERT_TRUE(rig_.run().Start());
  EXPECT_EQ(rig_.state.MonitorStopped, 0u);
  EXPECT_EQ(rig_.state.AcquisitionRunning, 1u);
  EXPECT_FALSE(rig_.run().SimulationTickArmed());
  EXPECT_THAT(rig_.windows.events,
              ElementsAre("reset capture and find", "find: started", kStartRefresh, "dialog bar"));
  blocks.WaitForMore();
  rig_.windows.events.clear();

  rig_.run().Stop();
  EXPECT_TRUE(rig_.run().StopRequested());
  EXPECT_THAT(rig_.windows.events, ElementsAre("find: stopped"));
  // Records still arrive: the drain waits.
  for (int tick = 0; tick < 3; ++tick) rig_.run().OnRunTimer();
  EXPECT_TRUE(rig_.run().StopRequested());
  EXPECT_EQ(rig_.run().StopWaitMs(), 600u);
  EXPECT_EQ(rig_.state.MonitorStopped, 0u);

  blocks.records = 0;
  blocks.WaitForMore();
  rig_.run().OnRunTimer();
  EXPECT_FALSE(rig_.run().StopRequested());
  EXPECT_EQ(rig_.state.MonitorStopped, 1u);
  EXPECT_EQ(rig_.state.AcquisitionRunning, 0u);
  EXPECT_THAT(rig_.windows.events, ElementsAre("find: stopped", kStopRefresh, "dialog bar"));
  EXPECT_TRUE(AppRig::WaitUntil([&] { return !rig_.run().acquisition().Running(); }));
  EXPECT_THAT(rig_.sink.Texts(), IsEmpty());
}

TEST_F(RunControlTest, StopCompletesAfterAboutTwoSecondsWhileRecordsKeepComing) {
  ServedBlocks blocks(rig_);
  blocks.records = 5;
  ASSERT_TRUE(rig_.run().Start());
  blocks.WaitForMore();
  rig_.run().Stop();
  // StopWaitMs counts 0, 200, ... 2200; the tick after it passed 2000 completes.
  EXPECT_EQ(rig_.DrainStop(), 12);
  EXPECT_EQ(rig_.state.MonitorStopped, 1u);
  EXPECT_TRUE(AppRig::WaitUntil([&] { return !rig_.run().acquisition().Running(); }));
}

TEST_F(RunControlTest, StartAndStopAreIgnoredInTheWrongState) {
  ServedBlocks blocks(rig_);
  rig_.run().Stop();
  EXPECT_FALSE(rig_.run().StopRequested());
  ASSERT_TRUE(rig_.run().Start());
  EXPECT_FALSE(rig_.run().Start());
  rig_.run().Stop();
  rig_.run().Stop();  // a second stop while one is under way changes nothing
  EXPECT_EQ(rig_.DrainStop(), 1);
}

TEST_F(RunControlTest, LogFileNameIsFormedAtStartAndTheNumberAdvancesAtStop) {
  ServedBlocks blocks(rig_);
  options().LogNumbering = 1;
  settings::CopyToField("041", options().LogNumber);

  // Empty LogPath with numbering: an underscore, the number and ".log".
  ASSERT_TRUE(rig_.run().Start());
  EXPECT_EQ(rig_.state.LogPath, "_041.log");
  rig_.run().Stop();
  EXPECT_EQ(LogNumber(), "041");  // logging is off: no number is used up
  ASSERT_EQ(rig_.DrainStop(), 1);

  // A stem already ending in _ddd gets the current number instead.
  configuration().Options.LoggingEnabled = 1;
  rig_.state.LogPath = (rig_.folder / "bus.run_007.csv").string();
  ASSERT_TRUE(rig_.run().Start());
  EXPECT_EQ(rig_.state.LogPath, (rig_.folder / "bus.run_041.csv").string());
  rig_.run().Stop();
  EXPECT_EQ(LogNumber(), "042");
  ASSERT_EQ(rig_.DrainStop(), 1);
  ASSERT_TRUE(AppRig::WaitUntil([&] { return !rig_.run().acquisition().Running(); }));
  EXPECT_TRUE(std::filesystem::exists(rig_.folder / "bus.run_041.csv"));

  // After 999 comes 000; the next run's name carries it.
  settings::CopyToField("999", options().LogNumber);
  ASSERT_TRUE(rig_.run().Start());
  EXPECT_EQ(rig_.state.LogPath, (rig_.folder / "bus.run_999.csv").string());
  rig_.run().Stop();
  EXPECT_EQ(LogNumber(), "000");
}

TEST_F(RunControlTest, EmptyLogPathWithoutNumberingLogsToTheDefaultLog) {
  ServedBlocks blocks(rig_);
  blocks.records = 2;
  configuration().Options.LoggingEnabled = 1;
  ASSERT_TRUE(rig_.run().Start());
  EXPECT_EQ(rig_.state.LogPath, "");
  blocks.WaitForMore();
  blocks.records = 0;
  rig_.run().Stop();
  ASSERT_GT(rig_.DrainStop(), 0);
  EXPECT_TRUE(AppRig::WaitUntil([&] { return !rig_.run().acquisition().Running(); }));
  std::ifstream log(rig_.folder / "default.log");
  std::string header;
  std::getline(log, header);
  EXPECT_EQ(header, "TIME,M/S,Tx/Rx,Command,\tError,IDEN,D0,D1,D2,D3,D4,D5,D6,D7,Sum\r");
}

TEST_F(RunControlTest, MasterStartWithNothingEnabledShows101And106AndDoesNotStart) {
  rig_.state.SimulationMode = kModeMaster;
  EXPECT_FALSE(rig_.run().Start());
  EXPECT_THAT(rig_.sink.Texts(),
              ElementsAre("No proper data found for simulation.", "Simulation Execution Error."));
  EXPECT_EQ(rig_.state.MonitorStopped, 1u);
  EXPECT_EQ(rig_.state.AcquisitionRunning, 0u);
  EXPECT_FALSE(rig_.run().acquisition().Running());
  EXPECT_THAT(rig_.windows.events, ElementsAre("dialog bar"));
}

TEST_F(RunControlTest, SlaveStartWhoseTableCannotBeDownloadedShows400AndDoesNotStart) {
  rig_.state.SimulationMode = kModeSlave;
  rig_.tap.FailMemoryWrite(analyzer::reg::kBankTable[0]);
  rig_.tap.FailMemoryWrite(analyzer::reg::kBankTable[1]);
  EXPECT_FALSE(rig_.run().Start());
  EXPECT_THAT(rig_.sink.Texts(), ElementsAre("Slave Simulation Setting Error."));
  EXPECT_EQ(rig_.state.MonitorStopped, 1u);
  EXPECT_FALSE(rig_.run().acquisition().Running());
}

TEST_F(RunControlTest, FailedMonitorStartShows104AndTellsTheViewsItStoppedAgain) {
  analyzer::LinkApi link = rig_.tap.api();
  link.MonitorStart = [] { return std::int32_t{0}; };
  rig_.UseLink(link);
  EXPECT_FALSE(rig_.run().Start());
  EXPECT_THAT(rig_.sink.Texts(), ElementsAre("Monitor Execution Error."));
  EXPECT_EQ(rig_.state.MonitorStopped, 1u);
  EXPECT_EQ(rig_.state.AcquisitionRunning, 0u);
  EXPECT_FALSE(rig_.run().acquisition().Running());
  EXPECT_THAT(rig_.windows.events,
              ElementsAre("reset capture and find", kStartRefresh, kStopRefresh, "dialog bar"));
}

TEST_F(RunControlTest, ReadFailureEndsTheProgramWithTheCommunicationError) {
  ServedBlocks blocks(rig_);
  ASSERT_TRUE(rig_.run().Start());
  blocks.failing = true;
  ASSERT_TRUE(AppRig::WaitUntil([&] { return !rig_.run().acquisition().Running(); }));
  rig_.run().OnRunTimer();

  const std::vector<testing::Box> boxes = rig_.sink.Boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "Monitor Data Read Error.(2)");
  EXPECT_EQ(boxes[1].caption, "Error");
  EXPECT_EQ(boxes[1].text, "Application terminated due to USB comminucation error.    ");
  EXPECT_EQ(boxes[1].icon, monitor::MessageIcon::kStop);
  EXPECT_EQ(rig_.state.ShutdownState, kShutdownForced);
  EXPECT_EQ(rig_.state.MonitorStopped, 1u);
  EXPECT_FALSE(rig_.monitor->AcquisitionFailed.load());
  EXPECT_THAT(rig_.windows.events, Contains("exit"));
  EXPECT_TRUE(ConfirmClose(rig_.context()));
}

TEST_F(RunControlTest, LiveLogThatCannotBeCreatedEndsTheRunButNotTheProgram) {
  configuration().Options.LoggingEnabled = 1;
  rig_.state.LogPath = (rig_.folder / "no-such-folder" / "run.log").string();
  ASSERT_TRUE(rig_.run().Start());
  ASSERT_TRUE(AppRig::WaitUntil([&] { return !rig_.run().acquisition().Running(); }));
  rig_.windows.events.clear();
  rig_.run().OnRunTimer();

  EXPECT_THAT(rig_.sink.Texts(), ElementsAre("Monitor Data Read Error.(3)"));
  EXPECT_EQ(rig_.state.ShutdownState, kShutdownNone);
  EXPECT_EQ(rig_.state.MonitorStopped, 1u);
  EXPECT_EQ(rig_.state.AcquisitionRunning, 0u);
  EXPECT_FALSE(rig_.monitor->AcquisitionFailed.load());
  EXPECT_THAT(rig_.windows.events, ElementsAre(kStopRefresh, "dialog bar"));

  // The analyzer was told to stop monitoring, so a new run starts normally.
  rig_.state.LogPath = (rig_.folder / "run.log").string();
  ASSERT_TRUE(rig_.run().Start());
  rig_.run().Stop();
  EXPECT_GT(rig_.DrainStop(), 0);
  EXPECT_THAT(rig_.sink.Texts(), ElementsAre("Monitor Data Read Error.(3)"));
}

TEST_F(RunControlTest, UnpluggedAnalyzerEndsTheProgramOnceAndSilencesTheThread) {
  ServedBlocks blocks(rig_);
  blocks.records = 1;
  ASSERT_TRUE(rig_.run().Start());
  rig_.link.analyzer().Unplug();

  EXPECT_EQ(rig_.run().OnDeviceChange(), 0);
  EXPECT_EQ(rig_.state.DeviceLost, 1u);
  EXPECT_EQ(rig_.state.ShutdownState, kShutdownForced);
  EXPECT_TRUE(rig_.run().StopRequested());
  const std::vector<testing::Box> boxes = rig_.sink.Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Error");
  EXPECT_EQ(boxes[0].text, "Application terminated due to USB disconnection.    ");
  EXPECT_EQ(boxes[0].icon, monitor::MessageIcon::kStop);
  EXPECT_THAT(rig_.windows.events, Contains("exit"));
  // The forced exit closes although the stop is still draining.
  EXPECT_TRUE(ConfirmClose(rig_.context()));

  // The thread's reads fail now; its message stays away, as does a second report.
  blocks.failing = true;
  ASSERT_TRUE(AppRig::WaitUntil([&] { return !rig_.run().acquisition().Running(); }));
  EXPECT_GT(rig_.DrainStop(), 0);
  rig_.run().OnRunTimer();
  EXPECT_EQ(rig_.run().OnDeviceChange(), 0);
  EXPECT_EQ(rig_.sink.Boxes().size(), 1u);
  EXPECT_EQ(rig_.state.MonitorStopped, 1u);
  EXPECT_EQ(std::count(rig_.windows.events.begin(), rig_.windows.events.end(), "exit"), 1);
}

TEST_F(RunControlTest, PresentAnalyzerChangesNothing) {
  EXPECT_EQ(rig_.run().OnDeviceChange(), 1);
  EXPECT_EQ(rig_.state.DeviceLost, 0u);
  EXPECT_EQ(rig_.state.ShutdownState, kShutdownNone);
  EXPECT_THAT(rig_.sink.Texts(), IsEmpty());
}

TEST_F(RunControlTest, ExitIsRefusedWhileMonitoringAndConfirmedOtherwise) {
  ServedBlocks blocks(rig_);
  ASSERT_TRUE(rig_.run().Start());
  EXPECT_FALSE(ConfirmClose(rig_.context()));
  EXPECT_THAT(
      rig_.sink.Texts(),
      ElementsAre("LIN Analyzer termination not allowed during monitoring.\nStop monitoring."));
  rig_.run().Stop();
  ASSERT_GT(rig_.DrainStop(), 0);

  RequestExit(rig_.context());
  EXPECT_EQ(rig_.state.ShutdownState, kShutdownRequested);
  RequestExit(rig_.context());
  EXPECT_EQ(std::count(rig_.windows.events.begin(), rig_.windows.events.end(), "exit"), 1);

  rig_.sink.answer = monitor::MessageAnswer::kCancel;
  EXPECT_FALSE(ConfirmClose(rig_.context()));
  EXPECT_EQ(rig_.state.ShutdownState, kShutdownNone);
  const testing::Box question = rig_.sink.Boxes().back();
  EXPECT_EQ(question.caption, "Exit");
  EXPECT_EQ(question.text, "Do you want to exit VXL View ?    ");
  EXPECT_EQ(question.icon, monitor::MessageIcon::kQuestion);
  EXPECT_EQ(question.buttons, monitor::MessageButtons::kOkCancel);

  rig_.sink.answer = monitor::MessageAnswer::kOk;
  EXPECT_TRUE(ConfirmClose(rig_.context()));
}

}  // namespace
}  // namespace orvane::app
