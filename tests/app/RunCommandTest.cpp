// orvane-cli run as a user runs it, on liborlink.so's virtual analyzer, with
// configuration files the test writes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/ConfigurationFile.h"
#include "settings/FixedText.h"
#include "tests/analyzer/ScratchFolder.h"
#include "tests/support/CliProcess.h"

namespace orvane::app {
namespace {

using analyzer::test::ReadFile;
using analyzer::test::ScratchFolder;
using orvane::testing::CliRun;
using orvane::testing::Lines;
using ::testing::AllOf;
using ::testing::Each;
using ::testing::Ge;
using ::testing::HasSubstr;
using ::testing::Le;
using ::testing::MatchesRegex;
using ::testing::Not;
using ::testing::SizeIs;

CliRun RunCli(const std::string& arguments) {
  return orvane::testing::RunCli("run " + arguments);
}

class RunCommandTest : public ::testing::Test {
 protected:
  RunCommandTest() : configuration_(std::make_unique<Configuration>()) {
    SetDefaults(*configuration_, folder_.path().string());
  }
  // Writes the configuration as it stands and returns the option naming it.
  std::string ConfigOption() {
    const std::string path = (folder_ / "run.cfg").string();
    EXPECT_TRUE(WriteConfiguration(path, *configuration_).ok);
    return "--config " + path;
  }

  ScratchFolder folder_;
  std::unique_ptr<Configuration> configuration_;
};

TEST_F(RunCommandTest, BaudModePrintsTheMeasuredBaudRateEverySecond) {
  const CliRun run = RunCli(ConfigOption() + " --mode baud --seconds 2");
  ASSERT_EQ(run.exitCode, 0);
  const std::vector<std::string> lines = Lines(run.out, "\n");
  EXPECT_THAT(lines,
              SizeIs(AllOf(Ge(1u), Le(2u))));  // at 1 s, and at 2 s unless the end came first
  EXPECT_THAT(lines, Each("Baudrate 9600 [bps]"));
}

TEST_F(RunCommandTest, MasterModePrintsTheSchedulesFramesInSlotOrder) {
  // S2 sends 0x01, 0x02 and 0x03 with 10 ms between them.
  simulation::MasterSchedule& schedule = configuration_->Schedules[1];
  schedule.enable = 1;
  schedule.repeat = 1;
  for (std::uint8_t slot = 0; slot < 3; ++slot) {
    schedule.slots[slot].enable = 1;
    schedule.slots[slot].identifier = static_cast<std::uint8_t>(slot + 1);
    schedule.slots[slot].delay = 10;
    schedule.slots[slot].data[0] = 0xa0;
  }
  configuration_->MasterRun.ScheduleModeOn = 1;
  const CliRun run = RunCli(ConfigOption() + " --mode master --schedule 2 --seconds 2");
  ASSERT_EQ(run.exitCode, 0);

  // A frame of the bus's own master may still be under way at the start.
  std::vector<std::string> lines = Lines(run.out, "\n");
  std::erase_if(lines,
                [](const std::string& line) { return line.find(",Tx,") == std::string::npos; });
  ASSERT_GE(lines.size(), 60u);  // about 17 ms a frame for 2 seconds
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string identifier = "0" + std::to_string(i % 3 + 1);
    EXPECT_THAT(lines[i], MatchesRegex(" [0-9:.]+     ,M,Tx,End       ,  -         ," + identifier +
                                       ",a0,00,  ,  ,  ,  ,  ,  ,[0-9a-f]{2}"))
        << i;
  }
}

TEST_F(RunCommandTest, PatternRowsShorterThanTheFrameAreFilledAfterAStartThatReadAFile) {
  // Identifier 0x20 carries 4 bytes; the pattern row has 2. A start that
  // read its configuration fills the rest from FillData instead of
  // skipping the row.
  const auto pattern = folder_ / "short.ptn";
  {
    std::ofstream out(pattern);
    out << "Tx,20,11,22\n";
  }
  simulation::MasterSchedule& schedule = configuration_->Schedules[0];
  schedule.enable = 1;
  schedule.repeat = 1;
  simulation::SimSlot& slot = schedule.slots[0];
  slot.enable = 1;
  slot.identifier = 0x20;
  slot.delay = 10;
  slot.pattern = 1;
  slot.trigger = simulation::kTriggerTimer;
  settings::CopyToField(pattern.string(), slot.patternPath);
  configuration_->Options.FillData[2] = 0x5a;
  configuration_->Options.FillData[3] = 0x5b;
  configuration_->MasterRun.ScheduleModeOn = 1;
  const CliRun run = RunCli(ConfigOption() + " --mode master --seconds 1");
  ASSERT_EQ(run.exitCode, 0);
  std::vector<std::string> lines = Lines(run.out, "\n");
  std::erase_if(lines,
                [](const std::string& line) { return line.find(",Tx,") == std::string::npos; });
  ASSERT_GE(lines.size(), 10u);
  EXPECT_THAT(lines, Each(HasSubstr(",20,11,22,5a,5b,")));
}

TEST_F(RunCommandTest, MonitorModeLogsUnderTheNumberedName) {
  settings::OptionSettingsExt& options = configuration_->Settings.Options;
  options.LogNumbering = 1;
  settings::CopyToField("005", options.LogNumber);
  const CliRun run =
      RunCli(ConfigOption() + " --seconds 1 --log " + (folder_ / "bus.log").string());
  ASSERT_EQ(run.exitCode, 0);

  const std::vector<std::string> printed = Lines(run.out, "\n");
  ASSERT_GE(printed.size(), 20u);
  EXPECT_THAT(printed, Each(MatchesRegex(R"( [0-9:.]+     ,[MS-],[RT]x,.*)")));
  const std::vector<std::string> logged = Lines(ReadFile(folder_ / "bus_005.log"), "\r\n");
  ASSERT_FALSE(logged.empty());
  EXPECT_EQ(logged[0], "TIME,M/S,Tx/Rx,Command,\tError,IDEN,D0,D1,D2,D3,D4,D5,D6,D7,Sum");
  EXPECT_EQ(std::vector<std::string>(logged.begin() + 1, logged.end()), printed);
}

TEST_F(RunCommandTest, FailedStartExitsWithItsMessages) {
  const CliRun run = RunCli(ConfigOption() + " --mode master --seconds 1 2>&1");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_THAT(run.out, HasSubstr("Error: No proper data found for simulation.\n"
                                 "Error: Simulation Execution Error.\n"));
  EXPECT_THAT(run.out, Not(HasSubstr("records ")));
}

TEST_F(RunCommandTest, LiveLogThatCannotBeCreatedEndsTheRunWithItsMessage) {
  const CliRun run = RunCli(ConfigOption() + " --seconds 5 --log " +
                            (folder_ / "gone" / "bus.log").string() + " 2>&1");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_THAT(run.out,
              HasSubstr("Error: Monitor Data Read Error.(3)\nrecords 0, frames 0, errors 0\n"));
  EXPECT_THAT(run.out, Not(HasSubstr("comminucation")));
}

TEST_F(RunCommandTest, UnreadableConfigurationExitsBeforeTheAnalyzerIsOpened) {
  const CliRun run = RunCli("--config " + (folder_ / "missing.cfg").string() + " 2>&1");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_THAT(run.out, HasSubstr("orvane-cli run: cannot read the configuration "));
  EXPECT_THAT(run.out, Not(HasSubstr("Analyzer ")));
}

TEST_F(RunCommandTest, RejectsBadOptionsWithUsage) {
  const std::string config = ConfigOption();
  for (const std::string& arguments :
       {std::string("--seconds 1"), config + " --mode bus", config + " --schedule 0",
        config + " --schedule 17", config + " --seconds", config + " --lin 2.1"}) {
    const CliRun run = RunCli(arguments + " 2>&1");
    EXPECT_EQ(run.exitCode, 1) << arguments;
    EXPECT_THAT(run.out, HasSubstr("usage: orvane-cli run --config FILE")) << arguments;
    EXPECT_THAT(run.out, Not(HasSubstr("Analyzer "))) << arguments;
  }
  EXPECT_THAT(RunCli("--seconds 1 2>&1").out, HasSubstr("orvane-cli run: --config is required\n"));
  // Decimal, not octal: 017 is 17.
  EXPECT_THAT(RunCli(config + " --schedule 017 2>&1").out,
              HasSubstr("orvane-cli run: --schedule: '017' is not a number from 1 to 16\n"));
}

}  // namespace
}  // namespace orvane::app
