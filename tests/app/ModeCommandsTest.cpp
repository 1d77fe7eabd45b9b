// Mode changes with their analyzer codes and windows, the baud-rate
// fallback, the setup follow-ups and the window titles.
#include "app/ModeCommands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "analyzer/RegisterMap.h"
#include "app/WindowTitles.h"
#include "tests/app/RunControlTestSupport.h"

namespace orvane::app {
namespace {

using testing::AppRig;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ModeCommandsTest : public ::testing::Test {
 protected:
  // The mode bytes written to 0x0401, in order.
  std::vector<int> ModeWrites() const {
    std::vector<int> modes;
    for (const auto& write : rig_.tap.WritesTo(analyzer::reg::kMode))
      modes.push_back(write.bytes[0]);
    return modes;
  }
  void Open(Window window) { rig_.state.WindowOpen[window] = true; }

  AppRig rig_;
};

TEST_F(ModeCommandsTest, EachModeWritesItsAnalyzerCodeAndSwitchesTheSimulationMonitors) {
  Open(Window::kMonitor);
  ChangeMode(rig_.context(), kModeMaster);
  ChangeMode(rig_.context(), kModeMaster);  // already there: nothing
  ChangeMode(rig_.context(), kModeSlave);
  ChangeMode(rig_.context(), kModeNone);
  EXPECT_THAT(ModeWrites(), ElementsAre(2, 1, 0));
  EXPECT_EQ(rig_.state.SimulationMode, kModeNone);
  EXPECT_THAT(
      rig_.windows.events,
      ElementsAre("open MasterMonitor", "title Monitor: Monitor Window - [Master Simulation Mode]",
                  "open SlaveMonitor", "close MasterMonitor",
                  "title Monitor: Monitor Window - [Slave Simulation Mode]", "close SlaveMonitor",
                  "title Monitor: Monitor Window - [Monitor Mode]"));
  EXPECT_THAT(rig_.sink.Texts(), IsEmpty());
}

TEST_F(ModeCommandsTest, FailedChangeKeepsTheNewModeButFailedBaudrateChangeReturns) {
  rig_.tap.FailMemoryWrite(analyzer::reg::kMode);
  EXPECT_FALSE(ChangeMode(rig_.context(), kModeSlave));
  EXPECT_EQ(rig_.state.SimulationMode, kModeSlave);
  EXPECT_THAT(rig_.windows.events, ElementsAre("open SlaveMonitor"));

  rig_.windows.events.clear();
  EXPECT_FALSE(ChangeToBaudrateMeasurement(rig_.context()));
  EXPECT_EQ(rig_.state.SimulationMode, kModeSlave);
  EXPECT_THAT(rig_.windows.events, IsEmpty());
  EXPECT_THAT(rig_.sink.Texts(), ElementsAre("Mode Setting Error.", "Mode Setting Error."));
}

TEST_F(ModeCommandsTest, BaudrateMeasurementKeepsOnlyTheStatusWindow) {
  for (const Window window : {Window::kMonitor, Window::kCapture, Window::kEachId, Window::kFind,
                              Window::kSignalMonitor, Window::kMasterMonitor}) {
    Open(window);
  }
  ChangeToBaudrateMeasurement(rig_.context());
  EXPECT_EQ(rig_.state.SimulationMode, kModeBaudrate);
  EXPECT_THAT(ModeWrites(), ElementsAre(3));
  EXPECT_THAT(rig_.windows.events,
              ElementsAre("close MasterMonitor", "close Monitor", "close Capture", "close EachId",
                          "close Find", "close SignalMonitor", "open Status"));

  // From baud-rate measurement the ordinary modes come back the usual way.
  rig_.windows.events.clear();
  ChangeMode(rig_.context(), kModeMaster);
  EXPECT_THAT(ModeWrites(), ElementsAre(3, 2));
  EXPECT_THAT(rig_.windows.events, ElementsAre("open MasterMonitor"));
}

TEST_F(ModeCommandsTest, ModesDoNotChangeWhileMonitoring) {
  testing::ServedBlocks blocks(rig_);
  ASSERT_TRUE(rig_.run().Start());
  EXPECT_FALSE(ChangeMode(rig_.context(), kModeSlave));
  EXPECT_FALSE(ChangeToBaudrateMeasurement(rig_.context()));
  EXPECT_EQ(rig_.state.SimulationMode, kModeNone);
  EXPECT_THAT(ModeWrites(), IsEmpty());
}

TEST_F(ModeCommandsTest, MasterSetupOkOffersTheModeAndCancelRestoresTheModel) {
  Configuration& configuration = *rig_.configuration;
  RunMasterSimulationSetup(rig_.context(), [&] {
    configuration.Schedules[3].enable = 1;
    configuration.ScheduleNames[3][0] = 'X';
    return false;
  });
  EXPECT_EQ(configuration.Schedules[3].enable, 0);
  EXPECT_EQ(configuration.ScheduleNames[3][0], 'S');
  EXPECT_THAT(rig_.sink.Texts(), IsEmpty());

  rig_.sink.answer = monitor::MessageAnswer::kOk;
  RunMasterSimulationSetup(rig_.context(), [&] {
    configuration.Schedules[3].enable = 1;
    return true;
  });
  EXPECT_EQ(configuration.Schedules[3].enable, 1);
  const testing::Box question = rig_.sink.Boxes().at(0);
  EXPECT_EQ(question.caption, "Simulation Mode");
  EXPECT_EQ(question.text, "Do you want to change to Master Simulation Mode?");
  EXPECT_EQ(question.icon, monitor::MessageIcon::kInformation);
  EXPECT_EQ(rig_.state.SimulationMode, kModeMaster);
  EXPECT_THAT(rig_.windows.events,
              ElementsAre("open MasterMonitor", "refresh monitor=0 status=0 master=2 slave=0"));
}

TEST_F(ModeCommandsTest, SlaveSetupTellsTheSlaveViewThenAsksAndCancelKeepsTheMode) {
  rig_.sink.answer = monitor::MessageAnswer::kCancel;
  RunSlaveSimulationSetup(rig_.context(), [] { return true; });
  EXPECT_EQ(rig_.state.SimulationMode, kModeNone);
  EXPECT_THAT(rig_.sink.Texts(), ElementsAre("Do you want to change to Slave Simulation Mode?"));
  EXPECT_THAT(rig_.windows.events, ElementsAre("refresh monitor=0 status=0 master=0 slave=3"));

  Configuration& configuration = *rig_.configuration;
  RunSlaveSimulationSetup(rig_.context(), [&] {
    configuration.SlaveMasterId = 0x3c;
    configuration.SlaveResponses[0].enable = 1;
    return false;
  });
  EXPECT_EQ(configuration.SlaveMasterId, 0);
  EXPECT_EQ(configuration.SlaveResponses[0].enable, 0);
}

TEST_F(ModeCommandsTest, SettingsDownloadsAfterTheDialogsReportTheirFailures) {
  Open(Window::kMonitor);
  rig_.configuration->Options.LoggingEnabled = 1;
  OptionSetupAccepted(rig_.context());
  EXPECT_THAT(rig_.windows.events,
              ElementsAre("publish each mode", "refresh monitor=0 status=1 master=0 slave=0",
                          "title Monitor: Monitor Window - [Monitor Mode / Logging Enable]",
                          "signal windows"));

  rig_.windows.events.clear();
  rig_.tap.FailMemoryWrite(analyzer::reg::kFrameTiming);
  OptionSetupAccepted(rig_.context());
  EXPECT_THAT(rig_.windows.events, ElementsAre("publish each mode"));
  EXPECT_THAT(rig_.sink.Texts(), ElementsAre("Option Setting Error."));

  Open(Window::kSlaveMonitor);
  rig_.windows.events.clear();
  IdentifierDefinitionAccepted(rig_.context());
  EXPECT_THAT(rig_.windows.events, ElementsAre("refresh monitor=0 status=0 master=0 slave=3"));
  rig_.tap.FailMemoryWrite(analyzer::reg::kLengthTable);
  IdentifierDefinitionAccepted(rig_.context());
  EXPECT_EQ(rig_.sink.Boxes().back().text, "DL Definition Error.    ");
}

TEST(WindowTitles, FollowConfigurationEachModeSimulationModeAndLogging) {
  EXPECT_EQ(MainFrameTitle(""), "Q427-VXL View Ver.3.11");
  EXPECT_EQ(MainFrameTitle("/home/u/bus.cfg"), "Q427-VXL View Ver.3.11 - [/home/u/bus.cfg]");
  EXPECT_EQ(MonitorWindowTitle(false, 1, kModeNone, false), "Monitor Window - [Monitor Mode]");
  EXPECT_EQ(MonitorWindowTitle(true, 0, kModeMaster, true),
            "Monitor Window (Each Mode : Order of ID) - [Master Simulation Mode / Logging Enable]");
  EXPECT_EQ(MonitorWindowTitle(true, 1, kModeSlave, false),
            "Monitor Window (Each Mode : Order of Node) - [Slave Simulation Mode]");
  EXPECT_EQ(MonitorWindowTitle(false, 0, kModeBaudrate, false), "Monitor Window - []");
  EXPECT_EQ(EachIdWindowTitle(0), "Each ID Window - (Order of ID)");
  EXPECT_EQ(EachIdWindowTitle(1), "Each ID Window - (Order of Node)");
}

}  // namespace
}  // namespace orvane::app
