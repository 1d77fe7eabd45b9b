#include "simulation/SlaveMonitorCells.h"

#include <gtest/gtest.h>

#include "settings/FixedText.h"
#include "tests/simulation/SimulationTestSupport.h"

namespace orvane::simulation {
namespace {

class SlaveMonitorCellsTest : public ::testing::Test {
 protected:
  static SimSlot Response(std::uint8_t identifier, std::initializer_list<std::uint8_t> data) {
    SimSlot response = DefaultSlaveResponse();
    response.enable = 1;
    response.identifier = identifier;
    std::ranges::copy(data, response.data);
    return response;
  }

  testing::RuleSettings settings_;
};

TEST_F(SlaveMonitorCellsTest, ResponseRowShowsTheDefinedLengthAndItsChecksum) {
  SimSlot response = Response(0x10, {0x12, 0x34, 0x56});  // 2 data bytes defined
  response.error = 3;
  response.trigger = kTriggerKey;
  response.triggerValue = 0x7B;
  settings::CopyToField("/home/user/patterns/walk.ptn", response.patternPath);
  EXPECT_EQ(SlaveMonitorCells(response, settings_.identifiers),
            (SlaveMonitorRow{"ShortMsg", "10", "12", "34", "", "", "", "", "", "", "b9", "F12",
                             "walk.ptn"}));

  const SimSlot full = Response(0x30, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
  EXPECT_EQ(SlaveMonitorCells(full, settings_.identifiers),
            (SlaveMonitorRow{"", "30", "ff", "ff", "ff", "ff", "ff", "ff", "ff", "ff", "00",
                             "50[ms]", ""}));
}

TEST_F(SlaveMonitorCellsTest, ResponseWithoutIdentifierShowsNoFrame) {
  SimSlot none = Response(kNoSlaveIdentifier, {1, 2});
  none.error = 2;
  none.trigger = kTriggerNone;
  EXPECT_EQ(SlaveMonitorCells(none, settings_.identifiers),
            (SlaveMonitorRow{"CheckSum", "", "", "", "", "", "", "", "", "", "", "", ""}));

  // The frame in force is not shown on such a row either.
  SlaveMonitorRow row = SlaveMonitorCells(none, settings_.identifiers);
  const SlaveMonitorRow before = row;
  ShowEntryData(row, CompileSlot(Response(0x10, {5})), settings_.identifiers);
  EXPECT_EQ(row, before);
}

TEST_F(SlaveMonitorCellsTest, FrameInForceReplacesDataAndSum) {
  SlaveMonitorRow row = SlaveMonitorCells(Response(0x21, {1, 2, 3, 4}), settings_.identifiers);
  ShowEntryData(row, CompileSlot(Response(0x21, {0x10, 0x20, 0x30, 0x40})), settings_.identifiers);
  EXPECT_EQ(row[kSlaveColumnData0], "10");
  EXPECT_EQ(row[kSlaveColumnData0 + 3], "40");
  EXPECT_EQ(row[kSlaveColumnData0 + 4], "");
  EXPECT_EQ(row[kSlaveColumnSum], "5f");  // 255 - 0xA0
  EXPECT_EQ(RunningDataText(row), "10,20,30,40");
}

TEST_F(SlaveMonitorCellsTest, StoppedDataEditRebuildsTheEntryAsEnabledTx) {
  SimSlot response = Response(0x10, {0x12, 0x34});
  response.enable = 0;
  response.error = 2;
  SimEntry entry{};
  EXPECT_FALSE(StoreStoppedData(response, entry, 1, 0x34));
  EXPECT_EQ(testing::Bytes(entry), testing::Bytes(SimEntry{}));

  EXPECT_TRUE(StoreStoppedData(response, entry, 1, 0x99));
  EXPECT_EQ(response.data[1], 0x99);
  EXPECT_EQ(testing::Bytes(entry),
            (std::vector<std::uint8_t>{0x01, 0, 0x10, 0x10, 0x12, 0x99, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(StoreStoppedData(response, entry, 8, 0x01));
}

TEST_F(SlaveMonitorCellsTest, RunningDataEditReachesEntryAndResponse) {
  SimSlot response = Response(0x30, {1, 2, 3, 4, 5, 6, 7, 8});
  SimEntry entry = CompileSlot(response);

  EXPECT_EQ(StoreRunningData("a1,b2", response, entry), true);
  EXPECT_EQ(entry.enable, kEntryEnabled | kEntryChanged);
  EXPECT_EQ(testing::Bytes(response.data),
            (std::vector<std::uint8_t>{0xA1, 0xB2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(testing::Bytes(entry.data), testing::Bytes(response.data));

  // Nine fields, or a field that is no number, change nothing.
  const SimEntry kept = entry;
  EXPECT_EQ(StoreRunningData("1,2,3,4,5,6,7,8,9", response, entry), std::nullopt);
  EXPECT_EQ(StoreRunningData("1,zz", response, entry), std::nullopt);
  EXPECT_EQ(testing::Bytes(entry), testing::Bytes(kept));
  EXPECT_EQ(response.data[0], 0xA1);

  entry.enable = kEntryEnabled;
  EXPECT_EQ(StoreRunningData("a1", response, entry), false);
  EXPECT_EQ(entry.enable, kEntryEnabled);

  // A disabled entry takes the bytes but no changed marker, which only the
  // download of enabled entries would clear.
  entry.enable = 0;
  EXPECT_EQ(StoreRunningData("c3", response, entry), true);
  EXPECT_EQ(entry.enable, 0);
  EXPECT_EQ(entry.data[0], 0xC3);
}

TEST_F(SlaveMonitorCellsTest, RunningErrorSetsTheEntryKind) {
  SimSlot response = Response(0x10, {});
  SimEntry entry = CompileSlot(response);
  StoreRunningError(response, entry, 2);
  EXPECT_EQ(entry.kind, 0x72);
  EXPECT_EQ(response.error, 2);
  StoreRunningError(response, entry, 3);
  EXPECT_EQ(entry.kind, 0x73);
  StoreRunningError(response, entry, 0);
  EXPECT_EQ(entry.kind, kKindTx);
  EXPECT_EQ(response.error, 0);
}

}  // namespace
}  // namespace orvane::simulation
