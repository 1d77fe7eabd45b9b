#include "simulation/MasterCompile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "tests/simulation/SimulationTestSupport.h"

namespace orvane::simulation {
namespace {

using ::testing::ElementsAre;

class MasterCompileTest : public ::testing::Test {
 protected:
  MasterCompileTest() { schedules_->fill(DefaultMasterSchedule()); }

  SimSlot& Slot(std::size_t schedule, std::size_t slot) {
    return (*schedules_)[schedule].slots[slot];
  }
  bool Compile() { return CompileAll(*schedules_, interrupt_, state_, sink_); }

  testing::TempDir dir_;
  std::unique_ptr<MasterSchedules> schedules_ = std::make_unique<MasterSchedules>();
  SimSlot interrupt_ = DefaultInterruptSlot();
  MasterRunState state_;
  testing::RecordingSink sink_;
};

TEST_F(MasterCompileTest, EachEnabledEntryWaitsTheDelayOfTheNextEnabledSlot) {
  (*schedules_)[0].enable = 1;
  Slot(0, 2) = testing::EnabledSlot(0x10, 10);
  Slot(0, 5) = testing::EnabledSlot(0x11, 20);
  Slot(0, 9) = testing::EnabledSlot(0x12, 30);
  Slot(0, 12).delay = 40;  // disabled: keeps its own delay

  ASSERT_TRUE(Compile());
  const ScheduleTable& table = state_.tables[0];
  EXPECT_EQ(table[2].delay, 20);
  EXPECT_EQ(table[5].delay, 30);
  EXPECT_EQ(table[9].delay, 10);
  EXPECT_EQ(table[12].delay, 40);
  EXPECT_EQ(table[0].delay, 1);
}

TEST_F(MasterCompileTest, RotationNeedsEnableExactlyOneAndLeavesTablesWithoutItAlone) {
  ScheduleTable table{};
  for (std::uint16_t i = 0; i < table.size(); ++i) table[i].delay = i;
  table[4].enable = 2;
  ScheduleTable unchanged = table;
  RotateDelays(table);
  EXPECT_EQ(testing::Bytes(table), testing::Bytes(unchanged));

  table[7].enable = 1;  // one enabled entry keeps its own delay
  RotateDelays(table);
  EXPECT_EQ(table[7].delay, 7);
  EXPECT_EQ(table[4].delay, 4);
}

TEST_F(MasterCompileTest, DisabledScheduleCompilesWithEveryEntryDisabled) {
  (*schedules_)[0].enable = 1;
  for (std::size_t s : {0, 1}) {
    Slot(s, 0) = testing::EnabledSlot(0x20, 5);
    Slot(s, 3) = testing::EnabledSlot(0x21, 7);
  }
  ASSERT_TRUE(Compile());
  EXPECT_EQ(state_.tables[0][0].enable, 1);
  EXPECT_EQ(state_.tables[0][3].enable, 1);
  for (const SimEntry& entry : state_.tables[1]) EXPECT_EQ(entry.enable, 0);
  // The rotation still happened; only byte 0 is masked.
  EXPECT_EQ(state_.tables[1][0].delay, 7);
  EXPECT_EQ(state_.tables[1][0].identifier, 0x20);
}

TEST_F(MasterCompileTest, PatternSlotsGetRowsAndATimerOrKeyCursor) {
  const auto rows =
      dir_.Write("rows.ptn", "Tx,10,01,02\nbad line\nRx,11\nSleep,3c,1,2,3,4,5,6,7,8\n");
  Slot(0, 3) = testing::PatternSlot(rows, kTriggerTimer, 120);
  Slot(0, 4) = testing::PatternSlot(rows, kTriggerKey, 'K');
  Slot(0, 5) = testing::PatternSlot(dir_.path() / "missing.ptn", kTriggerTimer, 50);
  Slot(0, 6) = testing::PatternSlot(rows, kTriggerTimer, 99);
  Slot(0, 6).enable = 0;
  Slot(4, 0) = testing::PatternSlot(rows, kTriggerTimer, 49);
  interrupt_.enable = 1;
  testing::UsePattern(interrupt_, rows, kTriggerKey, 0x70);

  ASSERT_TRUE(Compile());
  EXPECT_TRUE(sink_.Texts().empty());
  const PatternRun& run = state_.patterns[0];
  ASSERT_EQ(run.timers.size(), 1u);
  EXPECT_EQ(run.timers[0].slot, 3);
  EXPECT_EQ(run.timers[0].period, 2u);
  EXPECT_EQ(run.timers[0].position, 0u);
  EXPECT_EQ(run.timers[0].ticks, 0u);
  ASSERT_EQ(run.keys.size(), 1u);
  EXPECT_EQ(run.keys[0].slot, 4);
  EXPECT_EQ(run.keys[0].key, 'K');
  EXPECT_FALSE(run.keys[0].pending);

  ASSERT_EQ(run.rows.size(), kSlotsPerSchedule);
  ASSERT_EQ(run.rows[3].size(), 3u);  // the line that does not parse is left out
  EXPECT_EQ(run.rows[3][1].head, 0x20);
  EXPECT_EQ(run.rows[3][1].ident, 0x11);
  EXPECT_EQ(run.rows[3][2].head, 0x38);
  EXPECT_TRUE(run.rows[5].empty());
  EXPECT_TRUE(run.rows[6].empty());
  EXPECT_EQ(state_.patterns[4].timers.at(0).period, 0u);

  ASSERT_EQ(state_.interruptPattern.keys.size(), 1u);
  EXPECT_EQ(state_.interruptPattern.keys[0].key, 0x70);
  EXPECT_EQ(state_.interruptPattern.rows[0].size(), 3u);
}

TEST_F(MasterCompileTest, PatternSlotWithoutFileFailsItsScheduleAndLeavesLaterOnesAlone) {
  const auto rows = dir_.Write("rows.ptn", "Tx,10,01,02\n");
  Slot(1, 0) = testing::PatternSlot(rows, kTriggerTimer, 100);
  ASSERT_TRUE(Compile());
  ASSERT_EQ(state_.patterns[1].timers.size(), 1u);
  state_.tables[3][0].identifier = 0x2A;  // what an earlier compile left
  state_.patterns[3].keys.push_back(KeyCursor{});

  Slot(1, 4) = testing::EnabledSlot(0x10);
  Slot(1, 4).pattern = 1;  // enabled pattern slot without a file
  Slot(2, 0) = testing::EnabledSlot(0x22);
  Slot(3, 0) = testing::EnabledSlot(0x23);
  interrupt_.identifier = 0x31;
  EXPECT_FALSE(Compile());

  EXPECT_THAT(sink_.Texts(), ElementsAre("Memory are not securable any more."));
  EXPECT_TRUE(state_.patterns[1].timers.empty());
  EXPECT_TRUE(state_.patterns[1].rows.empty());
  EXPECT_EQ(state_.tables[1][4].enable, 1);  // schedule 1 is disabled, but masking was skipped
  EXPECT_EQ(state_.tables[3][0].identifier, 0x2A);
  EXPECT_EQ(state_.patterns[3].keys.size(), 1u);
  EXPECT_EQ(state_.interruptEntry.identifier, 0x31);  // the interrupt slot is still compiled
}

TEST_F(MasterCompileTest, InterruptPatternWithoutFileShowsTheMessageToo) {
  interrupt_.enable = 1;
  interrupt_.pattern = 1;
  EXPECT_FALSE(Compile());
  EXPECT_THAT(sink_.Texts(), ElementsAre("Memory are not securable any more."));
  EXPECT_TRUE(state_.interruptPattern.keys.empty());
}

TEST_F(MasterCompileTest, ReleaseFreesRowsAndCursors) {
  Slot(0, 0) = testing::PatternSlot(dir_.Write("rows.ptn", "Tx,10\n"), kTriggerKey, 'A');
  ASSERT_TRUE(Compile());
  Release(state_);
  EXPECT_TRUE(state_.patterns[0].keys.empty());
  EXPECT_TRUE(state_.patterns[0].rows.empty());
}

}  // namespace
}  // namespace orvane::simulation
