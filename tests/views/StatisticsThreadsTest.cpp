// The Bus Statistics window's reading side while the acquisition thread
// writes: the feed counts every record of a run that wraps the
// MonitorBuffer once and a half, each exactly once, as long as it keeps up.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "monitor/MonitorState.h"
#include "monitor/MonitorUpdate.h"
#include "tests/monitor/RecordBuilders.h"
#include "views/StatisticsFeed.h"

namespace orvane::views {
namespace {

constexpr int kBlockRecords = 25;
constexpr int kBlocks = monitor::MonitorCapacity / kBlockRecords * 3 / 2;
// The writer waits for a refresh every this many blocks: far less than a
// ring's worth, so that the reader never falls a lap behind.
constexpr int kPausePeriod = 100;
constexpr int kIdentifiers = 8;

TEST(StatisticsThreads, FeedCountsEveryRecordOnceWhileTheRingWraps) {
  auto state = std::make_unique<monitor::MonitorState>();
  monitor::ResetMonitorData(*state);
  StatisticsFeed feed;
  feed.Restart(FrameBitsSetup::WithLengthCodes(19200));
  std::atomic<int> writerPausedAt{-1};
  std::atomic<int> readerPassedAt{-1};
  std::atomic<bool> done{false};

  std::thread acquisition([&] {
    std::vector<monitor::MonitorRecord> block(kBlockRecords);
    for (int blockIndex = 0; blockIndex < kBlocks; ++blockIndex) {
      if (blockIndex % kPausePeriod == 0 && blockIndex > 0) {
        writerPausedAt.store(blockIndex);
        while (readerPassedAt.load() != blockIndex) std::this_thread::yield();
      }
      for (int index = 0; index < kBlockRecords; ++index) {
        const int sequence = blockIndex * kBlockRecords + index;
        block[static_cast<std::size_t>(index)] =
            monitor::test::Frame(sequence, static_cast<std::uint8_t>(sequence % kIdentifiers));
      }
      monitor::AppendBlock(*state, block, monitor::MonitorBlockHeader{});
    }
    done.store(true);
  });
  while (!done.load()) {
    const int pausedAt = writerPausedAt.load();
    feed.Refresh(state->MonitorBuffer);
    readerPassedAt.store(pausedAt);
  }
  acquisition.join();
  feed.Refresh(state->MonitorBuffer);

  EXPECT_TRUE(state->MonitorBuffer.Snapshot().wrapped);
  EXPECT_EQ(feed.LossText(), "");
  EXPECT_EQ(feed.statistics().RecordCount(), std::uint64_t{kBlocks} * kBlockRecords);
  for (int identifier = 0; identifier < kIdentifiers; ++identifier) {
    const IdentifierCounts& counts = feed.statistics().Of(identifier);
    EXPECT_EQ(counts.frames, std::uint64_t{kBlocks} * kBlockRecords / kIdentifiers);
    EXPECT_EQ(counts.periodMin, kIdentifiers);
    EXPECT_EQ(counts.periodMax, kIdentifiers);
  }
}

}  // namespace
}  // namespace orvane::views
