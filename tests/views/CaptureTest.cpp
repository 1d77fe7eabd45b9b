// Capture: which raw records are taken from the MonitorBuffer and how they
// are compacted into the capture buffer.
#include <gtest/gtest.h>

#include "monitor/MonitorState.h"
#include "monitor/MonitorUpdate.h"
#include "tests/views/Records.h"
#include "views/Capture.h"

namespace orvane::views {
namespace {

using monitor::MonitorCapacity;
using monitor::MonitorRecord;
using testing::EndFrame;
using testing::Record;

// By value: the packed field must not be bound to a reference.
std::int32_t TimeAt(const CaptureBuffer& capture, std::size_t i) {
  return capture.kept()[i].time;
}

// Every record tells its ring index by its time stamp.
void FillNumbered(monitor::MonitorRing& ring) {
  for (std::uint32_t i = 0; i < MonitorCapacity; ++i) {
    ring.MutableRecords()[i] = EndFrame(0x01, {}, static_cast<std::int32_t>(i));
  }
}

TEST(TakeCapture, FewerThanFiveHundredRecordsAreAllTaken) {
  monitor::MonitorRing ring;
  FillNumbered(ring);
  ring.Publish(120, false);
  CaptureBuffer capture;
  TakeCapture(capture, ring.Records(), ring.Snapshot(), {});
  EXPECT_TRUE(capture.valid);
  EXPECT_EQ(capture.rawCount, 120u);
  ASSERT_EQ(capture.keptCount, 120u);
  EXPECT_EQ(TimeAt(capture, 0), 0);
  EXPECT_EQ(TimeAt(capture, 119), 119);

  DiscardCapture(capture);
  EXPECT_FALSE(capture.valid);
  EXPECT_TRUE(capture.kept().empty());
}

TEST(TakeCapture, RightAfterAWrapTakesTheEndAndTheStartOfTheRing) {
  monitor::MonitorRing ring;
  FillNumbered(ring);
  ring.Publish(200, true);
  CaptureBuffer capture;
  TakeCapture(capture, ring.Records(), ring.Snapshot(), {});
  ASSERT_EQ(capture.keptCount, kCaptureCapacity);
  EXPECT_EQ(TimeAt(capture, 0), static_cast<std::int32_t>(MonitorCapacity - 300));
  EXPECT_EQ(TimeAt(capture, 299), static_cast<std::int32_t>(MonitorCapacity - 1));
  EXPECT_EQ(TimeAt(capture, 300), 0);
  EXPECT_EQ(TimeAt(capture, 499), 199);

  // Further on in the ring, the last 500 records before the write index.
  ring.Publish(50'000, true);
  TakeCapture(capture, ring.Records(), ring.Snapshot(), {});
  EXPECT_EQ(TimeAt(capture, 0), 49'500);
  EXPECT_EQ(TimeAt(capture, 499), 49'999);
}

// An extended-frame header of a group of `groupSize` records with
// `length` data bytes 0x10, 0x11, ... in the header's bytes 12-18.
MonitorRecord ExtendedHeader(std::uint8_t ident, int groupSize, std::uint16_t length) {
  MonitorRecord header = Record(monitor::kKindEnd, ident);
  header.flags = static_cast<std::uint8_t>(groupSize);
  header.SetExtLength(length);
  std::span<std::uint8_t, 19> bytes = header.MutableBytes();
  for (int i = 0; i < 7; ++i) bytes[12 + i] = static_cast<std::uint8_t>(0x10 + i);
  return header;
}

MonitorRecord Continuation(std::uint8_t first) {
  MonitorRecord record{};
  std::span<std::uint8_t, 19> bytes = record.MutableBytes();
  for (int i = 0; i < 19; ++i) bytes[i] = static_cast<std::uint8_t>(first + i);
  return record;
}

TEST(TakeCapture, CompactionMergesExtendedFramesAndDropsInvalidKinds) {
  monitor::MonitorRing ring;
  const std::vector<MonitorRecord> records = {
      EndFrame(0x01, {0xAA}, 1),   ExtendedHeader(0x3E, 3, 30),
      Continuation(0x17),          Continuation(0x40),
      Record(0x10, 0x02, {}, 2),  // kind 16: not an event
      ExtendedHeader(0x3F, 1, 5),  EndFrame(0x03, {0xBB}, 3),
      ExtendedHeader(0x3E, 2, 20),  // its continuation has not arrived
  };
  for (std::size_t i = 0; i < records.size(); ++i) ring.MutableRecords()[i] = records[i];
  ring.Publish(static_cast<std::uint32_t>(records.size()), false);

  CaptureBuffer capture;
  TakeCapture(capture, ring.Records(), ring.Snapshot(), {});
  EXPECT_EQ(capture.rawCount, records.size());
  ASSERT_EQ(capture.keptCount, 4u);
  EXPECT_EQ(TimeAt(capture, 0), 1);

  const MonitorRecord& thirty = capture.kept()[1];
  EXPECT_EQ(thirty.kind, 0x81);  // 8 bytes to show, kind End
  EXPECT_EQ(thirty.flags, 3);
  const std::uint8_t expected[9] = {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18};
  EXPECT_TRUE(std::equal(expected, expected + 9, thirty.Bytes().begin() + 10));

  const MonitorRecord& five = capture.kept()[2];
  EXPECT_EQ(five.kind, 0x51);
  EXPECT_EQ(five.data[4], 0x14);
  EXPECT_EQ(TimeAt(capture, 3), 3);
}

TEST(TakeCapture, MaskKeepsOnlyItsIdentifiers) {
  monitor::MonitorRing ring;
  const std::vector<MonitorRecord> records = {EndFrame(0x10, {}, 1), EndFrame(0x11, {}, 2),
                                              ExtendedHeader(0x3E, 2, 9), Continuation(0),
                                              EndFrame(0x20, {}, 3)};
  for (std::size_t i = 0; i < records.size(); ++i) ring.MutableRecords()[i] = records[i];
  ring.Publish(static_cast<std::uint32_t>(records.size()), false);

  monitor::MonitorMask mask;
  mask.MaskEnabled = true;
  mask.MaskIds = {0x10, 0x20, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  CaptureBuffer capture;
  TakeCapture(capture, ring.Records(), ring.Snapshot(), mask);
  ASSERT_EQ(capture.keptCount, 2u);
  EXPECT_EQ(TimeAt(capture, 0), 1);
  EXPECT_EQ(TimeAt(capture, 1), 3);
}

}  // namespace
}  // namespace orvane::views
