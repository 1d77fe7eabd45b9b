#include "analyzer/BankDownload.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <numeric>

#include "tests/analyzer/RegisterFixture.h"

namespace orvane::analyzer {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

template <std::size_t N>
std::array<std::uint8_t, N> Table() {
  std::array<std::uint8_t, N> table;
  std::iota(table.begin(), table.end(), std::uint8_t{0x10});
  return table;
}

using BankDownloadTest = test::RegisterFixture;

TEST_F(BankDownloadTest, MasterScheduleGoesIntoFreeBankZero) {
  ASSERT_TRUE(map_.SelectBank(0));
  ASSERT_TRUE(map_.WriteBankState(1, kBankFree));
  const auto table = Table<kBankTableSize>();

  ASSERT_TRUE(DownloadMasterSchedule(map_, table, /*runOnce=*/true));
  EXPECT_THAT(tap_.WrittenAddresses(), ElementsAre(0x0416, 0x0600, 0x0440, 0x0600, 0x0410));
  EXPECT_THAT(tap_.Writes()[2].bytes, ElementsAreArray(table));
  EXPECT_THAT(tap_.Writes()[3].bytes, ElementsAre(2));
  EXPECT_THAT(tap_.Writes()[4].bytes, ElementsAre(1));
}

TEST_F(BankDownloadTest, RepeatingScheduleClearsTheRunOnceRegister) {
  ASSERT_TRUE(map_.SelectBank(1));
  ASSERT_TRUE(map_.WriteBankState(2, kBankFree));
  ASSERT_TRUE(DownloadMasterSchedule(map_, Table<kBankTableSize>(), /*runOnce=*/false));
  EXPECT_EQ(tap_.WritesTo(0x0610).size(), 1u);
  EXPECT_THAT(tap_.WritesTo(0x0410).at(0).bytes, ElementsAre(0));
}

TEST_F(BankDownloadTest, BankTakenAfterBeingPendingSwitchesToTheOtherBank) {
  ASSERT_TRUE(map_.SelectBank(1));
  tap_.ScriptReads(0x07D0, {2, 3});
  const std::int64_t start = rig_.Elapsed().count();

  ASSERT_TRUE(DownloadMasterSchedule(map_, Table<kBankTableSize>(), true));
  EXPECT_EQ(tap_.ReadCount(0x07D0), 2);
  EXPECT_EQ(tap_.WritesTo(0x0440).size(), 1u);
  EXPECT_TRUE(tap_.WritesTo(0x0610).empty());
  EXPECT_THAT(tap_.WritesTo(0x0600).at(0).bytes, ElementsAre(2));
  EXPECT_EQ(rig_.Elapsed().count() - start, 10);  // one 10 ms poll
}

TEST_F(BankDownloadTest, BankStuckPendingFailsAfterALittleOverTwoSeconds) {
  for (const std::uint8_t stuck : {kBankReplace, kBankStart}) {
    ASSERT_TRUE(map_.SelectBank(1));
    tap_.ScriptReads(0x07D0, {stuck});
    std::int64_t start = rig_.Elapsed().count();
    EXPECT_FALSE(DownloadMasterSchedule(map_, Table<kBankTableSize>(), true));
    EXPECT_EQ(rig_.Elapsed().count() - start, 2010) << int{stuck};

    auto table = Table<kBankTableSize>();
    start = rig_.Elapsed().count();
    EXPECT_FALSE(DownloadMasterScheduleRunning(map_, table));
    EXPECT_EQ(rig_.Elapsed().count() - start, 2001) << int{stuck};
    EXPECT_EQ(table[0], 0x10);  // nothing written, nothing cleared
  }
  EXPECT_TRUE(tap_.WritesTo(0x0610).empty());
  EXPECT_TRUE(tap_.WritesTo(0x0440).empty());
}

TEST_F(BankDownloadTest, FailedReadFailsTheDownload) {
  ASSERT_TRUE(map_.SelectBank(0));
  rig_.analyzer().StallNextReply();
  EXPECT_FALSE(DownloadSlaveTable(map_, Table<kSlaveTableSize>()));
  EXPECT_TRUE(tap_.WritesTo(0x0440).empty());
}

TEST_F(BankDownloadTest, SlaveTableRereadsTheBankSelectionWhenItsBankIsTaken) {
  tap_.ScriptReads(0x0416, {1, 0});
  tap_.ScriptReads(0x07D0, {3});
  tap_.ScriptReads(0x0600, {0});
  const auto table = Table<kSlaveTableSize>();

  ASSERT_TRUE(DownloadSlaveTable(map_, table));
  EXPECT_EQ(tap_.ReadCount(0x0416), 2);
  EXPECT_THAT(tap_.WrittenAddresses(), ElementsAre(0x0440, 0x0600));
  EXPECT_THAT(tap_.Writes()[0].bytes, ElementsAreArray(table));
  EXPECT_THAT(tap_.Writes()[1].bytes, ElementsAre(1));
}

TEST_F(BankDownloadTest, MasterScheduleDoesNotRereadTheBankSelection) {
  tap_.ScriptReads(0x0416, {1, 0});
  tap_.ScriptReads(0x07D0, {3});
  EXPECT_FALSE(DownloadMasterSchedule(map_, Table<kBankTableSize>(), true));
  EXPECT_EQ(tap_.ReadCount(0x0416), 1);
  EXPECT_TRUE(tap_.Writes().empty());
}

TEST_F(BankDownloadTest, RunningScheduleClearsTheEntryFlagsInTheCallersCopy) {
  ASSERT_TRUE(map_.SelectBank(0));
  ASSERT_TRUE(map_.WriteBankState(1, kBankFree));
  auto table = Table<kBankTableSize>();
  for (std::size_t entry = 0; entry < 32; ++entry) table[entry * kSimEntrySize] = 0xF3;
  const auto sent = table;

  ASSERT_TRUE(DownloadMasterScheduleRunning(map_, table));
  EXPECT_THAT(tap_.WritesTo(0x0440).at(0).bytes, ElementsAreArray(sent));
  EXPECT_THAT(tap_.WritesTo(0x0600).back().bytes, ElementsAre(1));
  for (std::size_t entry = 0; entry < 32; ++entry) {
    EXPECT_EQ(table[entry * kSimEntrySize], 0x03) << entry;
    EXPECT_EQ(table[entry * kSimEntrySize + 1], sent[entry * kSimEntrySize + 1]);
  }
}

TEST_F(BankDownloadTest, RunningScheduleClearsFlagsEvenWhenTheStateWriteFails) {
  ASSERT_TRUE(map_.SelectBank(0));
  ASSERT_TRUE(map_.WriteBankState(1, kBankFree));
  tap_.FailMemoryWrite(0x0600);
  auto table = Table<kBankTableSize>();
  table[0] = 0xA5;
  EXPECT_FALSE(DownloadMasterScheduleRunning(map_, table));
  EXPECT_EQ(table[0], 0x05);
}

}  // namespace
}  // namespace orvane::analyzer
