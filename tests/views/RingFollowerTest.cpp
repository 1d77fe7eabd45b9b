// Reading the MonitorBuffer's new records once each: across the end of the
// ring, after the writer went once round (exactly, or further), from the
// oldest of a wrapped ring, and at a start before and after the acquisition
// thread's reset; and the statistics feed's counts and loss text.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "monitor/MonitorState.h"
#include "monitor/MonitorUpdate.h"
#include "tests/monitor/RecordBuilders.h"
#include "views/RingFollower.h"
#include "views/StatisticsFeed.h"

namespace orvane::views {
namespace {

using monitor::MonitorRecord;

constexpr std::uint32_t kCapacity = 8;

class RingFollowerTest : public ::testing::Test {
 protected:
  RingFollowerTest() { state_->MonitorBuffer.Resize(kCapacity); }

  // Appends records whose times count on from the previous ones (identifier
  // 0x01, one every 10 ms).
  void Append(int count) {
    std::vector<MonitorRecord> records;
    for (int i = 0; i < count; ++i) records.push_back(monitor::test::Frame(10 * next_++, 0x01));
    monitor::AppendBlock(*state_, records, monitor::MonitorBlockHeader{});
  }

  // The times of a batch, oldest first, in units of 10 ms.
  static std::vector<int> Sequence(const RingBatch& batch) {
    std::vector<int> times;
    for (const auto part : {batch.older, batch.newer}) {
      for (const MonitorRecord& record : part) times.push_back(record.time / 10);
    }
    return times;
  }

  const monitor::MonitorRing& ring() const { return state_->MonitorBuffer; }

  std::unique_ptr<monitor::MonitorState> state_ = std::make_unique<monitor::MonitorState>();
  int next_ = 0;
};

TEST_F(RingFollowerTest, HandsOverEachRecordOnceAcrossTheEnd) {
  RingFollower follower;
  EXPECT_EQ(follower.Next(ring()).size(), 0u);
  Append(5);
  EXPECT_EQ(Sequence(follower.Next(ring())), (std::vector{0, 1, 2, 3, 4}));
  EXPECT_EQ(follower.Next(ring()).size(), 0u);
  Append(6);
  const RingBatch batch = follower.Next(ring());
  EXPECT_EQ(batch.older.size(), 3u);
  EXPECT_EQ(Sequence(batch), (std::vector{5, 6, 7, 8, 9, 10}));
  EXPECT_FALSE(batch.lapped);
  EXPECT_FALSE(batch.startedLate);
  EXPECT_FALSE(batch.fromOldest);
}

TEST_F(RingFollowerTest, SaysWhenTheWriterWentRound) {
  RingFollower follower;
  Append(3);
  follower.Next(ring());
  // 10 records into a ring of 8: the first 2 of them are lost.
  Append(10);
  RingBatch batch = follower.Next(ring());
  EXPECT_TRUE(batch.lapped);
  EXPECT_TRUE(batch.fromOldest);
  EXPECT_EQ(batch.lostAtLeast, 2u);
  EXPECT_EQ(Sequence(batch), (std::vector{5, 6, 7, 8, 9, 10, 11, 12}));
  // Exactly one ring's worth: the write index is where it was, yet all 8
  // are new and none is lost.
  Append(8);
  batch = follower.Next(ring());
  EXPECT_TRUE(batch.lapped);
  EXPECT_EQ(batch.lostAtLeast, 0u);
  EXPECT_EQ(Sequence(batch), (std::vector{13, 14, 15, 16, 17, 18, 19, 20}));
  Append(1);
  EXPECT_EQ(Sequence(follower.Next(ring())), (std::vector{21}));
}

TEST_F(RingFollowerTest, FromTheOldestOfAWrappedRing) {
  Append(11);
  RingFollower follower;
  const RingBatch batch = follower.Next(ring());
  EXPECT_TRUE(batch.startedLate);
  EXPECT_TRUE(batch.fromOldest);
  EXPECT_FALSE(batch.lapped);
  EXPECT_EQ(Sequence(batch), (std::vector{3, 4, 5, 6, 7, 8, 9, 10}));
  follower.FromOldest();
  EXPECT_EQ(follower.Next(ring()).size(), 8u);
}

TEST_F(RingFollowerTest, AtAStartWaitsForTheReset) {
  Append(11);  // the previous run, wrapped
  RingFollower follower;
  follower.Next(ring());
  follower.AwaitReset(ring());
  monitor::ClearMonitorFlags(*state_);
  EXPECT_EQ(follower.Next(ring()).size(), 0u);
  // The acquisition thread's first step, then the new run's records.
  monitor::ResetMonitorData(*state_);
  next_ = 100;
  Append(2);
  EXPECT_EQ(Sequence(follower.Next(ring())), (std::vector{100, 101}));

  // A new run that has written exactly as many records as the previous one
  // left looks unchanged; it is read once the thread has ended.
  follower.AwaitReset(ring());
  monitor::ResetMonitorData(*state_);
  next_ = 200;
  Append(2);
  EXPECT_EQ(follower.Next(ring()).size(), 0u);
  follower.EndAwaitingReset();
  EXPECT_EQ(Sequence(follower.Next(ring())), (std::vector{200, 201}));
}

TEST_F(RingFollowerTest, FeedCountsAndSaysWhatWasLost) {
  StatisticsFeed feed;
  feed.Restart(FrameBitsSetup::WithLengthCodes(19200));
  Append(4);
  EXPECT_TRUE(feed.Refresh(ring()));
  EXPECT_FALSE(feed.Refresh(ring()));
  EXPECT_EQ(feed.statistics().Of(0x01).frames, 4u);
  EXPECT_EQ(feed.LossText(), "");
  Append(11);
  feed.Refresh(ring());
  // 8 of the 11 were counted, and no period spans the 3 lost.
  EXPECT_EQ(feed.statistics().Of(0x01).frames, 12u);
  EXPECT_EQ(feed.statistics().Of(0x01).periods, 3u + 7u);
  EXPECT_EQ(feed.statistics().Of(0x01).periodMax, 10);
  EXPECT_EQ(feed.LossText(), "At least 3 records were overwritten before they were counted.");

  feed.RunStarting(ring(), FrameBitsSetup::WithLengthCodes(19200));
  EXPECT_FALSE(feed.statistics().Of(0x01).Seen());
  EXPECT_EQ(feed.LossText(), "");
  monitor::ClearMonitorFlags(*state_);
  monitor::ResetMonitorData(*state_);
  Append(1);
  feed.Refresh(ring());
  EXPECT_EQ(feed.statistics().Of(0x01).frames, 1u);

  Append(20);
  feed.Restart(FrameBitsSetup::WithLengthCodes(19200));
  feed.Refresh(ring());
  EXPECT_EQ(feed.statistics().Of(0x01).frames, 8u);
  EXPECT_EQ(feed.LossText(),
            "Counting began with the oldest record held; older records had been overwritten.");
}

}  // namespace
}  // namespace orvane::views
