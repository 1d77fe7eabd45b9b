#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "monitor/MonitorState.h"
#include "monitor/MonitorUpdate.h"
#include "tests/monitor/RecordBuilders.h"

namespace orvane::monitor {
namespace {

// A writer fills the rings block by block while a reader takes snapshots, as
// the views do: every record a snapshot covers is complete. Records carry
// their own sequence number in time and in every data byte's low bits.
TEST(MonitorRingThreads, SnapshotsCoverOnlyPublishedRecords) {
  auto state = std::make_unique<MonitorState>();
  constexpr int kBlocks = 2000;
  constexpr int kBlockRecords = 25;
  std::atomic<bool> done{false};
  // Every 100 blocks the writer pauses until the reader has checked the rings
  // at that point, so reads overlap writing however the threads are scheduled.
  std::atomic<int> writerPausedAt{-1};
  std::atomic<int> readerCheckedAt{-1};

  std::thread writer([&] {
    std::vector<MonitorRecord> block(kBlockRecords);
    std::uint32_t idTablePosition = 0;
    for (int blockIndex = 0; blockIndex < kBlocks; ++blockIndex) {
      if (blockIndex % 100 == 0 && blockIndex > 0) {
        writerPausedAt.store(blockIndex);
        while (readerCheckedAt.load() != blockIndex) std::this_thread::yield();
      }
      for (int index = 0; index < kBlockRecords; ++index) {
        const int sequence = blockIndex * kBlockRecords + index;
        block[static_cast<std::size_t>(index)] = test::Frame(sequence, 0x05);
        std::fill(std::begin(block[static_cast<std::size_t>(index)].data),
                  std::end(block[static_cast<std::size_t>(index)].data),
                  static_cast<std::uint8_t>(sequence));
      }
      AppendBlock(*state, block, MonitorBlockHeader{});
      UpdateViewBuffer(*state, MonitorMask{});
      idTablePosition = UpdateIdTables(*state, idTablePosition, 0, nullptr);
    }
    done.store(true);
  });

  std::uint32_t checkedUpTo = 0;
  int failures = 0;
  int pauses = 0;
  while (!done.load()) {
    const int pausedAt = writerPausedAt.load();
    for (const MonitorRing* ring : {&state->MonitorBuffer, &state->ViewBuffer}) {
      const RingSnapshot snapshot = ring->Snapshot();
      if (snapshot.wrapped) ++failures;
      const std::uint32_t count = snapshot.Count();
      if (count == 0) continue;
      const MonitorRecord& newest = ring->Records()[count - 1];
      if (newest.time != static_cast<std::int32_t>(count - 1) ||
          newest.data[7] != static_cast<std::uint8_t>(count - 1)) {
        ++failures;
      }
      checkedUpTo = std::max(checkedUpTo, count);
    }
    if (pausedAt != readerCheckedAt.load()) {
      readerCheckedAt.store(pausedAt);
      ++pauses;
    }
  }
  writer.join();
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(state->MonitorBuffer.Snapshot().writeIndex,
            static_cast<std::uint32_t>(kBlocks * kBlockRecords));
  EXPECT_EQ(state->LastFrameTable.counters[0x05].load(),
            static_cast<std::uint32_t>(kBlocks * kBlockRecords));
  EXPECT_EQ(pauses, kBlocks / 100 - 1);
  EXPECT_GE(checkedUpTo, static_cast<std::uint32_t>((kBlocks - 100) * kBlockRecords));
}

}  // namespace
}  // namespace orvane::monitor
