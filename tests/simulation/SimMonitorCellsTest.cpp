#include "simulation/SimMonitorCells.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pattern/PatternRecord.h"
#include "tests/simulation/SimulationTestSupport.h"

namespace orvane::simulation {
namespace {

using ::testing::ElementsAre;

class SimMonitorCellsTest : public ::testing::Test {
 protected:
  testing::RuleSettings settings_;
};

TEST_F(SimMonitorCellsTest, EntryCellsFollowTheKindAndTheDefinedLength) {
  SimSlot slot = testing::EnabledSlot(0x21);  // 4 data bytes
  slot.data[0] = 0x01;
  slot.data[3] = 0xA4;
  slot.data[4] = 0x55;
  const SimEntry tx = CompileSlot(slot);
  EXPECT_EQ(EntryFrameCells(tx, settings_.identifiers),
            (FrameCells{"Tx", "21", {"01", "00", "00", "a4", "", "", "", ""}}));

  slot.command = kCommandRx;
  EXPECT_EQ(EntryFrameCells(CompileSlot(slot), settings_.identifiers),
            (FrameCells{"Rx", "21", {}}));

  slot.command = kCommandWakeup;
  EXPECT_EQ(EntryFrameCells(CompileSlot(slot), settings_.identifiers), (FrameCells{"Wakeup", "", {}}));

  slot.command = kCommandSleep;
  slot.identifier = 0x3C;
  std::ranges::fill(slot.data, 0);
  EXPECT_EQ(EntryFrameCells(CompileSlot(slot), settings_.identifiers).command, "Sleep");
  EXPECT_EQ(EntryFrameCells(CompileSlot(slot), settings_.identifiers).data[7], "00");

  // An extended frame bound to a file is still shown as a Tx frame.
  SimEntry bound = tx;
  bound.kind = kKindExtendedFile | (tx.kind & 0x0F);
  EXPECT_EQ(EntryFrameCells(bound, settings_.identifiers).command, "Tx");
}

TEST_F(SimMonitorCellsTest, ChecksumIsTheInvertedSumWithCarries) {
  std::array<std::uint8_t, 8> data{0x12, 0x34};
  EXPECT_EQ(ResponseChecksum(data, 2), 0xB9);
  data.fill(0xFF);
  EXPECT_EQ(ResponseChecksum(data, 8), 0x00);
  EXPECT_EQ(ResponseChecksum(data, 0), 0xFF);
}

TEST_F(SimMonitorCellsTest, CountersComeFromTheHeaderFields) {
  monitor::MonitorBlockHeader header{};
  header.successCount = 41;
  header.requestCount = 43;
  header.scheduleCount = 65535;
  const MasterCounterTexts texts = CounterTextsOf(header);
  EXPECT_EQ(texts.successRequest, "41 / 43");
  EXPECT_EQ(texts.count, "65535");
}

TEST_F(SimMonitorCellsTest, PreviewOfAKeySlotMovesNeitherEntryNorCursor) {
  PatternRows rows;
  for (const char* line : {"Tx,10,01,02", "Tx,10,03,04"})
    rows.push_back(pattern::ParsePatternLine(line).record);
  SimEntry entry = CompileSlot(testing::EnabledSlot(0x10));
  KeyCursor cursor;
  cursor.position = 1;
  const SimEntry preview =
      PreviewNextRow(entry, cursor, true, rows, settings_.rules(), false);
  EXPECT_THAT(preview.data, ElementsAre(0x03, 0x04, 0, 0, 0, 0, 0, 0));
  EXPECT_EQ(cursor.position, 1u);
  EXPECT_THAT(entry.data, ElementsAre(0, 0, 0, 0, 0, 0, 0, 0));
}

TEST_F(SimMonitorCellsTest, RunningFrameEditUpdatesSlotAndEntryOnlyWhenTheFrameDiffers) {
  SimSlot slot = testing::EnabledSlot(0x10, 20);
  SimEntry entry = CompileSlot(slot);
  entry.delay = 77;  // after the delay rotation

  EXPECT_EQ(ApplyRunningFrameEdit("Tx,10,00,00", slot, entry, settings_.identifiers), false);
  EXPECT_EQ(entry.enable, 1);

  EXPECT_EQ(ApplyRunningFrameEdit("Tx,12,ab,cd,ef", slot, entry, settings_.identifiers), true);
  EXPECT_EQ(slot.identifier, 0x12);
  // Only the defined two bytes are taken.
  EXPECT_THAT(slot.data, ElementsAre(0xAB, 0xCD, 0, 0, 0, 0, 0, 0));
  EXPECT_EQ(entry.enable, 0x81);
  EXPECT_EQ(entry.kind, kKindTx);
  EXPECT_EQ(entry.identifier, 0x12);
  EXPECT_THAT(entry.data, ElementsAre(0xAB, 0xCD, 0, 0, 0, 0, 0, 0));
  EXPECT_EQ(entry.delay, 77);

  EXPECT_EQ(ApplyRunningFrameEdit("Rx,3e", slot, entry, settings_.identifiers), true);
  EXPECT_EQ(slot.command, kCommandExtendedRx);
  EXPECT_EQ(entry.kind, kKindExtendedRx);

  EXPECT_EQ(ApplyRunningFrameEdit("Tx,40,01", slot, entry, settings_.identifiers), std::nullopt);
  EXPECT_EQ(ApplyRunningFrameEdit("Send,10", slot, entry, settings_.identifiers), std::nullopt);
  EXPECT_EQ(slot.identifier, 0x3E);
}

TEST_F(SimMonitorCellsTest, RunningDataEditReplacesTheGivenBytesOnly) {
  const std::array<std::uint8_t, 8> current{1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_THAT(*ParseRunningData("a0,b", current), ElementsAre(0xA0, 0x0B, 3, 4, 5, 6, 7, 8));
  EXPECT_EQ(ParseRunningData("1,2,3,4,5,6,7,8,9", current), std::nullopt);
  EXPECT_EQ(ParseRunningData("1,,3", current), std::nullopt);
  EXPECT_EQ(ParseRunningData("zz", current), std::nullopt);
}

TEST_F(SimMonitorCellsTest, SlaveErrorKindKeepsNoneAnswering) {
  EXPECT_EQ(SlaveErrorKind(2), 0x72);
  EXPECT_EQ(SlaveErrorKind(3), 0x73);
  EXPECT_EQ(SlaveErrorKind(0), kKindTx);
}

}  // namespace
}  // namespace orvane::simulation
