#include "simulation/MasterRun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "simulation/SlotNames.h"
#include "tests/simulation/SimulationTestSupport.h"

namespace orvane::simulation {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
namespace reg = analyzer::reg;

class MasterRunTest : public ::testing::Test {
 protected:
  explicit MasterRunTest(bool startFirmware = true) : link_(startFirmware) {
    schedules_->fill(DefaultMasterSchedule());
    (*schedules_)[0].enable = 1;
    Slot(0) = testing::EnabledSlot(0x10, 10);
  }

  SimSlot& Slot(std::size_t slot, std::size_t schedule = 0) {
    return (*schedules_)[schedule].slots[slot];
  }
  std::filesystem::path CountingRows(bool withFinalRow = true) {
    return dir_.Write("count.ptn", withFinalRow ? "Tx,10,01,00\nTx,10,02,00\nTx,10,03,00\n"
                                                : "Tx,10,01,00\nTx,10,02,00\n");
  }
  // The table of the bank the analyzer has taken (state 3).
  std::vector<std::uint8_t> RunningTable() {
    for (int bank = 0; bank < 2; ++bank) {
      if (link_.ReadByte(reg::kBankState[bank]) == analyzer::kBankTaken) {
        return link_.Read(reg::kBankTable[bank], analyzer::kBankTableSize);
      }
    }
    ADD_FAILURE() << "no bank taken";
    return {};
  }
  std::size_t TableDownloads() {
    return link_.tap().WritesTo(reg::kBankTable[0]).size() +
           link_.tap().WritesTo(reg::kBankTable[1]).size();
  }
  std::uint8_t RunningData0(std::size_t slot) { return RunningTable().at(slot * 14 + 4); }

  testing::TempDir dir_;
  testing::AnalyzerLink link_;
  testing::RecordingSink sink_;
  testing::RuleSettings rules_;
  std::unique_ptr<MasterSchedules> schedules_ = std::make_unique<MasterSchedules>();
  SimSlot interrupt_ = DefaultInterruptSlot();
  ExtendedFileTable files_{};
  MasterRunSettings settings_{.CurrentSchedule = 0, .ScheduleModeOn = 1, .InterruptModeOn = 0};
  MasterRunState state_;
  MasterSimulation simulation_{*schedules_, interrupt_,     files_,      settings_,
                               state_,      rules_.rules(), link_.map(), sink_};
};

class MasterRunBootTest : public MasterRunTest {
 protected:
  MasterRunBootTest() : MasterRunTest(/*startFirmware=*/false) {}
};

TEST_F(MasterRunBootTest, StartLandsTheTableInTheFreeBankWithState2AndTheExtendedData) {
  Slot(0).data[0] = 0xC1;
  Slot(0).data[1] = 0xC2;
  Slot(1) = testing::EnabledSlot(0x3E, 20);
  Slot(1).command = kCommandExtendedTx;
  Slot(1).oneTime = 1;
  const auto file = dir_.Write("frame.ext", "\x11\x22\x33\x44\x55");
  files_[0].owner = kOwnerScheduleSlot;
  files_[0].slotIndex = 1;
  settings::CopyToField(file.string(), files_[0].path);

  ASSERT_TRUE(StartMasterRun(simulation_));
  EXPECT_TRUE(sink_.Texts().empty());

  const std::vector<std::uint8_t> bank = link_.Read(reg::kBankTable[0], analyzer::kBankTableSize);
  EXPECT_THAT(std::vector(bank.begin(), bank.begin() + 28),
              ElementsAre(0x01, 0x00, 0x10, 0x10, 0xC1, 0xC2, 0, 0, 0, 0, 0, 0, 20, 0,  //
                          0x01, 0x01, 0x60, 0x3E, 0x00, 0x05, 0x00, 0, 0, 0, 0, 0, 10, 0));
  EXPECT_EQ(bank, testing::Bytes(state_.tables[0]));
  EXPECT_EQ(link_.ReadByte(reg::kBankState[0]), analyzer::kBankStart);
  EXPECT_EQ(link_.ReadByte(reg::kRunOnce), 1);  // repeat off
  EXPECT_EQ(link_.ReadByte(reg::kScheduleSwitch), 1);
  EXPECT_EQ(link_.ReadByte(reg::kInterruptSwitch), 0);
  EXPECT_THAT(link_.Read(reg::kExtendedData, 6), ElementsAre(0x11, 0x22, 0x33, 0x44, 0x55, 0));
}

TEST_F(MasterRunBootTest, StartWithNothingToSendShows101Then106AndDownloadsNothing) {
  (*schedules_)[0].enable = 0;
  Slot(0, 5) = testing::EnabledSlot(0x10);  // in a disabled schedule
  interrupt_.enable = 1;                    // but the interrupt is off
  EXPECT_FALSE(StartMasterRun(simulation_));
  EXPECT_THAT(sink_.Texts(),
              ElementsAre("No proper data found for simulation.", "Simulation Execution Error."));
  EXPECT_EQ(TableDownloads(), 0u);

  settings_.InterruptModeOn = 1;
  EXPECT_TRUE(SimulationDataCheck(*schedules_, interrupt_, settings_));
}

TEST_F(MasterRunBootTest, FailedDownloadOrSwitchWriteShows106) {
  link_.tap().FailMemoryWrite(reg::kScheduleSwitch);
  EXPECT_FALSE(StartMasterRun(simulation_));
  EXPECT_THAT(sink_.Texts(), ElementsAre("Simulation Execution Error."));
  EXPECT_TRUE(link_.tap().WritesTo(reg::kInterruptSwitch).empty());
}

TEST_F(MasterRunTest, TimerPatternOf120msAppliesRowsAtStartAtTick3AndEveryTwoTicksAfter) {
  Slot(2) = testing::PatternSlot(CountingRows(), kTriggerTimer, 120, /*repeat=*/true);
  ASSERT_TRUE(StartMasterRun(simulation_));
  EXPECT_EQ(RunningData0(2), 1);
  EXPECT_EQ(TableDownloads(), 1u);

  const TickResult expected[] = {
      TickResult::kIdle,       TickResult::kIdle, TickResult::kDownloaded, TickResult::kIdle,
      TickResult::kDownloaded, TickResult::kIdle, TickResult::kDownloaded};
  const std::uint8_t rowAfter[] = {1, 1, 2, 2, 3, 3, 1};
  for (std::size_t tick = 0; tick < std::size(expected); ++tick) {
    EXPECT_EQ(MasterTick(simulation_), expected[tick]) << "tick " << tick + 1;
    EXPECT_EQ(RunningData0(2), rowAfter[tick]) << "tick " << tick + 1;
  }
  EXPECT_EQ(TableDownloads(), 4u);
  EXPECT_EQ(state_.tables[0][2].enable, 1);    // the download cleared the changed marker
  EXPECT_EQ(RunningTable().at(2 * 14), 0x81);  // which the analyzer received

  settings_.ScheduleModeOn = 0;
  for (int tick = 0; tick < 4; ++tick) EXPECT_EQ(MasterTick(simulation_), TickResult::kIdle);
}

TEST_F(MasterRunTest, PatternEndWithoutRepeatStopsChangingTheEntry) {
  state_.PatternEndReached = true;  // left from an earlier run
  Slot(3) = testing::PatternSlot(CountingRows(false), kTriggerTimer, 50);
  ASSERT_TRUE(StartMasterRun(simulation_));
  EXPECT_FALSE(state_.PatternEndReached);

  EXPECT_EQ(MasterTick(simulation_), TickResult::kIdle);  // period 1: count to 1 first
  EXPECT_EQ(MasterTick(simulation_), TickResult::kDownloaded);
  EXPECT_TRUE(state_.PatternEndReached);
  EXPECT_EQ(RunningData0(3), 2);
  for (int tick = 0; tick < 4; ++tick) EXPECT_EQ(MasterTick(simulation_), TickResult::kIdle);
  EXPECT_EQ(state_.tables[0][3].data[0], 2);
}

TEST_F(MasterRunTest, KeyPressMakesKeyCursorsPendingAndTheNextTickServesThem) {
  Slot(4) = testing::PatternSlot(CountingRows(), kTriggerKey, 'K', true);
  Slot(5) = testing::PatternSlot(CountingRows(false), kTriggerKey, 'K');
  ASSERT_TRUE(StartMasterRun(simulation_));
  EXPECT_EQ(RunningData0(4), 1);

  MasterKey(simulation_, 'J');
  EXPECT_EQ(MasterTick(simulation_), TickResult::kIdle);

  MasterKey(simulation_, 'K');
  EXPECT_TRUE(state_.patterns[0].keys[0].pending);
  EXPECT_EQ(state_.tables[0][4].data[0], 1);  // nothing applied before the tick
  EXPECT_EQ(MasterTick(simulation_), TickResult::kDownloaded);
  EXPECT_FALSE(state_.patterns[0].keys[0].pending);
  EXPECT_EQ(RunningData0(4), 2);
  EXPECT_EQ(RunningData0(5), 2);  // slot 5's pattern has now ended
  EXPECT_EQ(MasterTick(simulation_), TickResult::kIdle);

  Slot(4).pattern = 0;  // only slots that still use a pattern react
  MasterKey(simulation_, 'K');
  EXPECT_FALSE(state_.patterns[0].keys[0].pending);
  // A served key downloads even when no row could be applied.
  EXPECT_EQ(MasterTick(simulation_), TickResult::kDownloaded);
  EXPECT_EQ(RunningData0(5), 2);
}

TEST_F(MasterRunTest, ChangedTableIsDownloadedOnTheNextTick) {
  ASSERT_TRUE(StartMasterRun(simulation_));
  EXPECT_EQ(MasterTick(simulation_), TickResult::kIdle);
  state_.tables[0][0].data[0] = 0x5C;
  state_.tables[0][0].enable |= kEntryChanged;
  state_.tableChanged = true;
  EXPECT_EQ(MasterTick(simulation_), TickResult::kDownloaded);
  EXPECT_EQ(RunningData0(0), 0x5C);
  EXPECT_FALSE(state_.tableChanged);
}

TEST_F(MasterRunTest, FailedRunningDownloadIsReportedToTheCaller) {
  Slot(2) = testing::PatternSlot(CountingRows(), kTriggerTimer, 50, true);
  ASSERT_TRUE(StartMasterRun(simulation_));
  link_.tap().FailMemoryWrite(reg::kBankTable[0]);
  link_.tap().FailMemoryWrite(reg::kBankTable[1]);
  EXPECT_EQ(MasterTick(simulation_), TickResult::kIdle);
  EXPECT_EQ(MasterTick(simulation_), TickResult::kDownloadFailed);
  EXPECT_TRUE(sink_.Texts().empty());  // the caller stops monitoring, then shows 1001
  EXPECT_EQ(kRunningDownloadFailedMessage, 1001);
}

TEST_F(MasterRunBootTest, InterruptKeySendsTheInterruptEntryThroughTheMailbox) {
  interrupt_.enable = 1;
  interrupt_.identifier = 0x20;
  testing::UsePattern(interrupt_, CountingRows(), kTriggerKey, 0x70, true);
  settings_.InterruptModeOn = 1;
  ASSERT_TRUE(StartMasterRun(simulation_));

  MasterKey(simulation_, 0x71);
  EXPECT_TRUE(link_.tap().WritesTo(reg::kOneShotEntry).empty());
  MasterKey(simulation_, 0x70);
  EXPECT_THAT(link_.Read(reg::kOneShotEntry, 15),
              ElementsAre(0x81, 0x00, 0x10, 0x10, 0x01, 0x00, 0, 0, 0, 0, 0, 0, 0x00, 0x00, 0x01));
  EXPECT_TRUE(sink_.Texts().empty());

  // The boot program never takes the entry, so the mailbox stays busy.
  MasterKey(simulation_, 0x70);
  ASSERT_EQ(sink_.Boxes().size(), 1u);
  EXPECT_EQ(sink_.Boxes()[0].caption, "Error");
  EXPECT_EQ(sink_.Boxes()[0].text, "Key Trigger Error.");
  EXPECT_EQ(state_.interruptEntry.data[0], 2);  // the row was applied all the same

  settings_.InterruptModeOn = 0;
  MasterKey(simulation_, 0x70);
  EXPECT_EQ(sink_.Boxes().size(), 1u);
  EXPECT_EQ(state_.interruptEntry.data[0], 2);
}

TEST_F(MasterRunTest, SelectScheduleResetsCursorsBindsAndDownloadsWhileMonitoring) {
  ASSERT_TRUE(StartMasterRun(simulation_));
  ASSERT_EQ(TableDownloads(), 1u);
  EXPECT_TRUE(SelectSchedule(simulation_, 0, true));
  EXPECT_EQ(TableDownloads(), 1u);  // already current
  EXPECT_TRUE(SelectSchedule(simulation_, 0, true, Reselect::kYes));
  EXPECT_EQ(TableDownloads(), 2u);  // the monitor window opening downloads it again

  (*schedules_)[3].enable = 1;
  (*schedules_)[3].repeat = 1;
  Slot(0, 3) = testing::PatternSlot(CountingRows(), kTriggerTimer, 100, true);
  Slot(1, 3) = testing::EnabledSlot(0x3F, 30);
  files_[0].slotIndex = 1;
  files_[0].scheduleIndex = 3;
  settings::CopyToField(dir_.Write("x.ext", "abc").string(), files_[0].path);
  ASSERT_TRUE(StartMasterRun(simulation_));  // compiles schedule 3 and its pattern
  state_.patterns[3].timers[0].position = 2;
  state_.patterns[3].timers[0].ticks = 1;

  const std::size_t before = TableDownloads();
  ASSERT_TRUE(SelectSchedule(simulation_, 3, true));
  EXPECT_EQ(settings_.CurrentSchedule, 3);
  EXPECT_EQ(state_.patterns[3].timers[0].position, 1u);
  EXPECT_EQ(state_.patterns[3].timers[0].ticks, 0u);
  EXPECT_EQ(state_.tables[3][0].data[0], 1);
  EXPECT_EQ(state_.tables[3][1].kind, 0x60);
  EXPECT_EQ(TableDownloads(), before + 1);
  EXPECT_EQ(RunningTable(), testing::Bytes(state_.tables[3]));
  EXPECT_EQ(link_.ReadByte(reg::kRunOnce), 0);  // schedule 3 repeats

  ASSERT_TRUE(SelectSchedule(simulation_, 0, false));
  EXPECT_EQ(TableDownloads(), before + 1);
  EXPECT_FALSE(SelectSchedule(simulation_, 16, true));
  EXPECT_EQ(settings_.CurrentSchedule, 0);

  link_.tap().FailMemoryWrite(reg::kBankTable[0]);
  link_.tap().FailMemoryWrite(reg::kBankTable[1]);
  EXPECT_FALSE(SelectSchedule(simulation_, 3, true));
  EXPECT_THAT(sink_.Texts(), ElementsAre("Schedule Setting Error."));
}

TEST(CurrentScheduleTest, OutOfRangeReadsAsZero) {
  for (std::int32_t value : {-1, 16, 1000}) {
    EXPECT_EQ(CurrentScheduleIndex(MasterRunSettings{value, 0, 0}), 0u) << value;
  }
  EXPECT_EQ(CurrentScheduleIndex(MasterRunSettings{15, 0, 0}), 15u);
}

}  // namespace
}  // namespace orvane::simulation
