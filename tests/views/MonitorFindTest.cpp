// Find first and find next over the ViewBuffer ring: priming, the order of
// a wrapped ring, continuing across the ring's end and the end of a search.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "settings/FindCondition.h"
#include "monitor/MonitorState.h"
#include "tests/views/Records.h"
#include "views/MonitorFind.h"

namespace orvane::views {
namespace {

using monitor::MonitorCapacity;
using monitor::MonitorRecord;
using testing::EndFrame;

settings::FindCondition RisingBit0(std::uint8_t ident) {
  settings::FindCondition condition = settings::DefaultFindCondition();
  condition.kind = settings::kFindFrame;
  condition.identifier = ident;
  condition.dataCompare = 1;
  condition.compareMode = 1;
  std::memcpy(condition.bitPatterns[0], "U*******", 8);
  return condition;
}

settings::FindCondition AnyFrame(std::uint8_t ident) {
  settings::FindCondition condition = settings::DefaultFindCondition();
  condition.kind = settings::kFindFrame;
  condition.identifier = ident;
  return condition;
}

// Writes `records` into the ring starting at ring index `start` (wrapping)
// and publishes the write index after them.
void Fill(monitor::MonitorRing& ring, std::uint32_t start,
          const std::vector<MonitorRecord>& records, bool wrapped) {
  std::uint32_t index = start;
  for (const MonitorRecord& record : records) {
    ring.MutableRecords()[index] = record;
    index = (index + 1) % MonitorCapacity;
  }
  ring.Publish(index, wrapped);
}

TEST(MonitorFind, TheFirstFrameIsNeverARisingEdge) {
  monitor::MonitorRing ring;
  Fill(ring, 0,
       {EndFrame(0x07, {0x00}), EndFrame(0x05, {0x01}), EndFrame(0x05, {0x01}),
        EndFrame(0x05, {0x00}), EndFrame(0x07, {0x01}), EndFrame(0x05, {0x01}),
        EndFrame(0x05, {0x01})},
       false);
  MonitorFind find;
  const std::optional<FindHit> hit =
      find.FindFirst(RisingBit0(0x05), 1, ring.Records(), ring.Snapshot());
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->index, 5u);
  EXPECT_EQ(hit->position, 5u);
  EXPECT_EQ(find.foundIndex(), 5);
  EXPECT_EQ(find.nextPosition(), 6u);

  // "Next" after the last hit finds nothing and keeps the hit, every time.
  EXPECT_FALSE(find.FindNext(ring.Records(), ring.Snapshot()));
  EXPECT_FALSE(find.FindNext(ring.Records(), ring.Snapshot()));
  EXPECT_EQ(find.foundIndex(), 5);
  EXPECT_EQ(find.nextPosition(), 6u);
}

TEST(MonitorFind, NothingFoundAndNoSearchBefore) {
  monitor::MonitorRing ring;
  Fill(ring, 0, {EndFrame(0x05, {0x01}), EndFrame(0x05, {0x01})}, false);
  MonitorFind find;
  EXPECT_FALSE(find.FindNext(ring.Records(), ring.Snapshot()));
  EXPECT_FALSE(find.FindFirst(RisingBit0(0x05), 1, ring.Records(), ring.Snapshot()));
  EXPECT_EQ(find.foundIndex(), -1);
  EXPECT_FALSE(find.FindNext(ring.Records(), ring.Snapshot()));

  monitor::MonitorRing empty;
  EXPECT_FALSE(find.FindFirst(AnyFrame(0x05), 1, empty.Records(), empty.Snapshot()));
}

TEST(MonitorFind, WrappedRingIsSearchedOldestFirstAcrossItsEnd) {
  monitor::MonitorRing ring;
  // Ring full, write index 3: the oldest record is at 3, the newest at 2.
  // Hits at the last two indices of the ring and at index 1.
  const std::uint32_t last = MonitorCapacity - 1;
  ring.MutableRecords()[last - 1] = EndFrame(0x05, {});
  ring.MutableRecords()[last] = EndFrame(0x05, {});
  ring.MutableRecords()[1] = EndFrame(0x05, {});
  // The record just before the write index is the newest.
  ring.MutableRecords()[2] = EndFrame(0x06, {});
  ring.Publish(3, true);

  MonitorFind find;
  std::optional<FindHit> hit = find.FindFirst(AnyFrame(0x05), 2, ring.Records(), ring.Snapshot());
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->index, last - 1);
  EXPECT_EQ(hit->position, MonitorCapacity - 5);
  hit = find.FindNext(ring.Records(), ring.Snapshot());
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->index, last);
  hit = find.FindNext(ring.Records(), ring.Snapshot());
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->index, 1u);
  EXPECT_EQ(hit->position, MonitorCapacity - 2);
  EXPECT_FALSE(find.FindNext(ring.Records(), ring.Snapshot()));
  EXPECT_EQ(find.foundIndex(), 1);

  // Not wrapped: only indices 0-2 exist, and index 1 is the only hit.
  ring.Publish(3, false);
  hit = find.FindFirst(AnyFrame(0x05), 2, ring.Records(), ring.Snapshot());
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->index, 1u);
  EXPECT_FALSE(find.FindNext(ring.Records(), ring.Snapshot()));
}

TEST(MonitorFind, ResetForgetsTheSearch) {
  monitor::MonitorRing ring;
  Fill(ring, 0, {EndFrame(0x05, {}), EndFrame(0x05, {})}, false);
  MonitorFind find;
  ASSERT_TRUE(find.FindFirst(AnyFrame(0x05), 0, ring.Records(), ring.Snapshot()));
  find.Reset();
  EXPECT_EQ(find.foundIndex(), -1);
  EXPECT_FALSE(find.FindNext(ring.Records(), ring.Snapshot()));
}

TEST(FindScrollPosition, HitAtTheTopWithinTheScrollRange) {
  EXPECT_EQ(FindScrollPosition(40, 16, 100, 20, 1280), 640);
  EXPECT_EQ(FindScrollPosition(95, 16, 100, 20, 1280), 1280);
  EXPECT_EQ(FindScrollPosition(5, 16, 12, 20, 0), 0);
  EXPECT_EQ(FindScrollPosition(MonitorCapacity - 1, 16, MonitorCapacity, 20, 1'599'680), 1'599'680);
}

}  // namespace
}  // namespace orvane::views
