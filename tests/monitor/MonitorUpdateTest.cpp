#include "monitor/MonitorUpdate.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "monitor/MonitorState.h"
#include "tests/monitor/RecordBuilders.h"

namespace orvane::monitor {
namespace {

using test::ExtendedGroup;
using test::Frame;

std::vector<MonitorRecord> Frames(int count, std::int32_t firstTime, std::uint8_t ident = 0x12) {
  std::vector<MonitorRecord> records;
  for (int index = 0; index < count; ++index) records.push_back(Frame(firstTime + index, ident));
  return records;
}

MonitorBlockHeader HeaderFor(std::size_t count) {
  MonitorBlockHeader header{};
  header.recordCount = static_cast<std::uint8_t>(count);
  return header;
}

class MonitorUpdateTest : public ::testing::Test {
 protected:
  void Append(const std::vector<MonitorRecord>& records) {
    AppendBlock(*state_, records, HeaderFor(records.size()));
  }
  // One acquisition step after the log: view and tables.
  void Update(const MonitorMask& mask = {}, int sortOrder = 0,
              const IdentifierSlotMap* nodeOrder = nullptr) {
    UpdateViewBuffer(*state_, mask);
    idTablePosition_ = UpdateIdTables(*state_, idTablePosition_, sortOrder, nodeOrder);
  }
  // Moves the raw ring and the view builder to `index` as if that many
  // records had been processed.
  void StartAt(std::uint32_t index) {
    state_->MonitorBuffer.Publish(index, false);
    state_->viewReadPosition = index;
  }
  const MonitorRecord& View(std::uint32_t index) const {
    return state_->ViewBuffer.Records()[index];
  }

  std::unique_ptr<MonitorState> state_ = std::make_unique<MonitorState>();
  std::uint32_t idTablePosition_ = 0;
};

TEST(MonitorRecordLayout, FieldsSitAtTheirWireOffsets) {
  const std::uint8_t wire[19] = {0x04, 0x03, 0x02, 0x81, 0x02, 0x83, 0x14, 0x06, 0x92, 0x55,
                                 0x1E, 0x00, 0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0x5A};
  MonitorRecord record;
  std::memcpy(&record, wire, sizeof wire);
  EXPECT_EQ(+record.time, static_cast<std::int32_t>(0x81020304));
  EXPECT_EQ(record.node, kNodeSlave);
  EXPECT_TRUE(record.IsTx());
  EXPECT_EQ(record.GroupSize(), 3);
  EXPECT_EQ(record.BaseKind(), kKindError);
  EXPECT_EQ(record.error, kErrorSyncBreakLong);
  EXPECT_EQ(record.Identifier(), 0x12);
  EXPECT_EQ(record.ExtLength(), 30);
  EXPECT_EQ(record.ExtendedHeaderData()[0], 0xA0);
  EXPECT_EQ(record.ExtendedHeaderData()[6], 0x5A);
  EXPECT_EQ(record.checksum, 0x5A);

  const std::uint8_t headerWire[27] = {0x10, 0x27, 0, 0, 0x5B, 0x01, 0x02, 0, 0, 0, 0, 0, 0, 0,
                                       0,    0,    7, 0, 9,    0,    0,    0, 8, 0, 0, 0, 25};
  MonitorBlockHeader header;
  std::memcpy(&header, headerWire, sizeof headerWire);
  EXPECT_EQ(+header.packetCount, 10000u);
  EXPECT_DOUBLE_EQ(header.BusLoadPercent(), 34.7);
  EXPECT_EQ(header.busStatus, kBusWakeup);
  EXPECT_EQ(+header.scheduleCount, 7);
  EXPECT_EQ(+header.requestCount, 9u);
  EXPECT_EQ(+header.successCount, 8u);
  EXPECT_EQ(header.recordCount, 25);
}

TEST_F(MonitorUpdateTest, BlockPastTheEndWrapsToTheStart) {
  StartAt(99990);
  Append(Frames(25, 1000));

  const RingSnapshot raw = state_->MonitorBuffer.Snapshot();
  EXPECT_EQ(raw.writeIndex, 15u);
  EXPECT_TRUE(raw.wrapped);
  const auto records = state_->MonitorBuffer.Records();
  EXPECT_EQ(+records[99990].time, 1000);
  EXPECT_EQ(+records[99999].time, 1009);
  EXPECT_EQ(+records[0].time, 1010);
  EXPECT_EQ(+records[14].time, 1024);
  EXPECT_EQ(+records[15].time, 0);
  EXPECT_EQ(raw.IndexOf(0), 15u);
  EXPECT_EQ(raw.Count(), MonitorCapacity);
}

TEST_F(MonitorUpdateTest, BlockFillingTheRingExactlySetsIndexZeroAndWrap) {
  StartAt(MonitorCapacity - 25);
  Append(Frames(25, 1));
  EXPECT_EQ(state_->MonitorBuffer.Snapshot().writeIndex, 0u);
  EXPECT_TRUE(state_->MonitorBuffer.Snapshot().wrapped);
  EXPECT_EQ(+state_->MonitorBuffer.Records()[MonitorCapacity - 1].time, 25);

  Update();
  EXPECT_EQ(state_->viewReadPosition, 0u) << "the view builder follows the raw ring to its end";
  EXPECT_EQ(state_->ViewBuffer.Snapshot().writeIndex, 25u);
}

TEST_F(MonitorUpdateTest, HeaderAndRecordsSeenMarker) {
  AppendBlock(*state_, {}, HeaderFor(0));
  EXPECT_EQ(state_->recordsSeen.load(), 0u);
  Append(Frames(3, 0));
  Append(Frames(5, 0));
  EXPECT_EQ(state_->recordsSeen.load(), 3u) << "the marker keeps the first non-empty block's count";
  EXPECT_EQ(state_->latestBlockHeader.Load().recordCount, 5);
}

TEST_F(MonitorUpdateTest, ExtendedFrameWaitsForItsLastRecordThenMerges) {
  const std::vector<MonitorRecord> group = ExtendedGroup(500, 0x3E, 30);
  ASSERT_EQ(group.size(), 3u);
  Append({group[0], group[1]});
  Update();
  EXPECT_EQ(state_->ViewBuffer.Snapshot().writeIndex, 0u) << "group incomplete: nothing committed";
  EXPECT_EQ(state_->viewReadPosition, 0u);

  Append({group[2], Frame(600, 0x05)});
  Update();
  EXPECT_EQ(state_->ViewBuffer.Snapshot().writeIndex, 2u);
  const MonitorRecord& merged = View(0);
  EXPECT_EQ(merged.MergedDataLength(), 8);
  EXPECT_EQ(merged.BaseKind(), kKindEnd);
  EXPECT_EQ(merged.GroupSize(), 3);
  const std::uint8_t expected[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  EXPECT_EQ(0, std::memcmp(merged.data, expected, 8));
  EXPECT_EQ(merged.checksum, expected[8]);
  EXPECT_EQ(+View(1).time, 600);
  EXPECT_EQ(state_->viewReadPosition, 4u);
}

TEST_F(MonitorUpdateTest, ShortExtendedFrameShowsItsOwnLength) {
  Append(ExtendedGroup(1, 0x3F, 5));
  Update();
  ASSERT_EQ(state_->ViewBuffer.Snapshot().writeIndex, 1u);
  EXPECT_EQ(View(0).MergedDataLength(), 5);
  EXPECT_EQ(View(0).data[4], 5);
}

TEST_F(MonitorUpdateTest, GroupAcrossTheRingEndTakesBytesSevenAndEightFromRecordZero) {
  StartAt(MonitorCapacity - 1);
  state_->ViewBuffer.Publish(MonitorCapacity - 1, false);
  Append(ExtendedGroup(7, 0x3E, 26));
  Update();

  const RingSnapshot view = state_->ViewBuffer.Snapshot();
  EXPECT_EQ(view.writeIndex, 0u);
  EXPECT_TRUE(view.wrapped);
  const MonitorRecord& merged = View(MonitorCapacity - 1);
  EXPECT_EQ(merged.data[7], 8);
  EXPECT_EQ(merged.checksum, 9);
  EXPECT_EQ(state_->viewReadPosition, 1u);
}

TEST_F(MonitorUpdateTest, MaskKeepsRecordsOutOfTheViewOnly) {
  MonitorMask mask;
  mask.MaskEnabled = true;
  mask.MaskIds[0] = 0x10;
  mask.MaskIds[3] = 0x20;
  Append({Frame(1, 0x10), Frame(2, 0x11), Frame(3, 0x20 | 0xC0)});
  Update(mask);

  EXPECT_EQ(state_->MonitorBuffer.Snapshot().writeIndex, 3u);
  ASSERT_EQ(state_->ViewBuffer.Snapshot().writeIndex, 2u);
  EXPECT_EQ(+View(0).time, 1);
  EXPECT_EQ(+View(1).time, 3) << "the identifier is compared without the parity bits";
  EXPECT_FALSE(state_->EachIdTable.seen[0x11].load());

  std::vector<MonitorRecord> hidden = ExtendedGroup(4, 0x3E, 30);
  hidden.push_back(Frame(5, 0x10));
  Append(hidden);
  Update(mask);
  EXPECT_EQ(state_->viewReadPosition, 7u) << "a hidden extended frame is passed over whole";
  ASSERT_EQ(state_->ViewBuffer.Snapshot().writeIndex, 3u);
  EXPECT_EQ(+View(2).time, 5);
  EXPECT_TRUE(mask.Passes(View(2)));
  EXPECT_FALSE(mask.Passes(hidden[0]));

  mask.MaskEnabled = false;
  Append({Frame(6, 0x11)});
  Update(mask);
  EXPECT_EQ(state_->ViewBuffer.Snapshot().writeIndex, 4u);
}

TEST_F(MonitorUpdateTest, ViewBufferWrapsOnItsOwnEnd) {
  state_->ViewBuffer.Publish(MonitorCapacity - 2, false);
  idTablePosition_ = MonitorCapacity - 2;
  Append(Frames(5, 10));
  Update();
  const RingSnapshot view = state_->ViewBuffer.Snapshot();
  EXPECT_EQ(view.writeIndex, 3u);
  EXPECT_TRUE(view.wrapped);
  EXPECT_FALSE(state_->MonitorBuffer.Snapshot().wrapped);
  EXPECT_EQ(+View(MonitorCapacity - 1).time, 11);
  EXPECT_EQ(+View(2).time, 14);
  EXPECT_EQ(state_->LastFrameTable.counters[0x12].load(), 5u)
      << "the tables follow the view across its end";
}

TEST_F(MonitorUpdateTest, EachIdSlotsForSpecialEvents) {
  MonitorRecord wakeup = Frame(1, 0x2A, kKindWakeup);
  MonitorRecord error = Frame(2, 0x05, kKindError);
  MonitorRecord simError = Frame(3, 0x06, kKindSimulationError | 0x30);
  MonitorRecord io = Frame(4, 0x07, 12);
  MonitorRecord request = Frame(5, 0x08, kKindRequest);
  Append({wakeup, error, io, request});
  Update();

  const EachIdSlots& table = state_->EachIdTable;
  EXPECT_TRUE(table.seen[kWakeupSlot].load());
  EXPECT_EQ(+table.records[kWakeupSlot].Load().time, 1);
  EXPECT_FALSE(table.seen[0x2A].load());
  EXPECT_EQ(+table.records[kErrorSlot].Load().time, 2);
  EXPECT_EQ(+table.records[kFirstIoSlot + 2].Load().time, 4) << "kind 12 lands in slot 67";
  EXPECT_EQ(+table.records[0x08].Load().time, 5);
  EXPECT_FALSE(table.seen[0x05].load());

  Append({simError});
  Update();
  EXPECT_EQ(+table.records[kErrorSlot].Load().time, 3) << "kind low 4 bits 5 is an error event too";
}

TEST_F(MonitorUpdateTest, LastFrameTableCountsCompleteFramesOnly) {
  Append({Frame(1, 0x13), Frame(2, 0x13, kKindRequest), Frame(3, 0x53)});
  Update();
  EXPECT_EQ(state_->LastFrameTable.counters[0x13].load(), 2u);
  EXPECT_EQ(+state_->LastFrameTable.records[0x13].Load().time, 3);

  state_->LastFrameTable.counters[0x13].store(std::numeric_limits<std::uint32_t>::max());
  Append({Frame(4, 0x13)});
  Update();
  EXPECT_EQ(state_->LastFrameTable.counters[0x13].load(), 1u) << "a wrapped counter restarts at 1";
}

class FixedSlotMap : public IdentifierSlotMap {
 public:
  explicit FixedSlotMap(int slot) : slot_(slot) {}
  int SlotFor(int) const override { return slot_; }

 private:
  int slot_;
};

TEST_F(MonitorUpdateTest, NodeOrderMapAppliesOnlyToIdentifierSlotsInNodeOrder) {
  const FixedSlotMap map(40);
  Append({Frame(1, 0x01)});
  Update({}, 0, &map);
  EXPECT_EQ(+state_->EachIdTable.records[0x01].Load().time, 1) << "order of ID ignores the map";

  Append({Frame(2, 0x02), Frame(3, 0x03, kKindWakeup)});
  Update({}, 1, &map);
  EXPECT_EQ(+state_->EachIdTable.records[40].Load().time, 2);
  EXPECT_EQ(+state_->EachIdTable.records[kWakeupSlot].Load().time, 3);
  EXPECT_FALSE(state_->EachIdTable.seen[0x02].load());

  const FixedSlotMap broken(70);
  Append({Frame(4, 0x04)});
  Update({}, 1, &broken);
  EXPECT_EQ(+state_->EachIdTable.records[0x04].Load().time, 4) << "a slot outside 0-63 is not used";
  EXPECT_FALSE(state_->EachIdTable.seen[70].load());
}

TEST_F(MonitorUpdateTest, StartOfRunResetAndStarterFlags) {
  StartAt(MonitorCapacity - 2);
  Append(Frames(4, 1));
  Update();
  ASSERT_TRUE(state_->MonitorBuffer.Snapshot().wrapped);

  ResetMonitorData(*state_);
  EXPECT_EQ(state_->MonitorBuffer.Snapshot().writeIndex, 0u);
  EXPECT_TRUE(state_->MonitorBuffer.Snapshot().wrapped) << "wrap flags are the starter's";
  EXPECT_TRUE(state_->EachIdTable.seen[0x12].load()) << "seen flags are the starter's";
  EXPECT_EQ(+state_->MonitorBuffer.Records()[MonitorCapacity - 1].time, 0);
  EXPECT_EQ(+state_->ViewBuffer.Records()[0].time, 0);
  EXPECT_EQ(+state_->EachIdTable.records[0x12].Load().time, 0);
  EXPECT_EQ(state_->LastFrameTable.counters[0x12].load(), 0u);
  EXPECT_EQ(state_->recordsSeen.load(), 0u);
  EXPECT_EQ(state_->viewReadPosition, 0u);

  ClearMonitorFlags(*state_);
  EXPECT_FALSE(state_->MonitorBuffer.Snapshot().wrapped);
  EXPECT_FALSE(state_->ViewBuffer.Snapshot().wrapped);
  EXPECT_FALSE(state_->EachIdTable.seen[0x12].load());
  EXPECT_EQ(state_->latestBlockHeader.Load().recordCount, 0);
}

}  // namespace
}  // namespace orvane::monitor

namespace orvane::monitor {
namespace {

// A review sizes the rings to its file: the same steps then wrap at the
// ring's own capacity, and an extended group split by the wrap still merges.
TEST_F(MonitorUpdateTest, ResizedRingsWrapAtTheirOwnCapacity) {
  state_->MonitorBuffer.Resize(7);
  state_->ViewBuffer.Resize(7);
  Append(Frames(6, 0));
  Update();
  // The group's header lands in the last raw slot, its continuation in the first.
  std::vector<MonitorRecord> split = ExtendedGroup(6, 0x21, 20);
  split.push_back(Frame(7, 0x12));
  Append(split);
  Update();

  const RingSnapshot raw = state_->MonitorBuffer.Snapshot();
  EXPECT_EQ(raw.capacity, 7u);
  EXPECT_EQ(raw.writeIndex, 2u);
  EXPECT_TRUE(raw.wrapped);
  const RingSnapshot view = state_->ViewBuffer.Snapshot();
  EXPECT_EQ(view.writeIndex, 1u);
  EXPECT_TRUE(view.wrapped);
  EXPECT_EQ(View(6).time, 6);
  EXPECT_EQ(View(6).MergedDataLength(), 8);
  EXPECT_EQ(View(6).data[7], 8) << "data byte 7 comes from the continuation record";
  EXPECT_EQ(View(0).time, 7);
  EXPECT_EQ(view.IndexOf(0), 1u);
  EXPECT_EQ(state_->LastFrameTable.records[0x12].Load().time, 7);

  state_->MonitorBuffer.Resize(MonitorCapacity);
  EXPECT_EQ(state_->MonitorBuffer.Snapshot().Count(), 0u);
  EXPECT_EQ(state_->MonitorBuffer.Records().size(), MonitorCapacity);
}

}  // namespace
}  // namespace orvane::monitor
