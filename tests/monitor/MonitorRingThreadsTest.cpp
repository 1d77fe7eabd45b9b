#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
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

// A header whose every field is derived from `number`, so that a mix of two
// headers is recognisable.
MonitorBlockHeader NumberedHeader(std::uint32_t number) {
  MonitorBlockHeader header{};
  header.packetCount = number;
  header.busLoad = static_cast<std::uint16_t>(number * 7);
  header.busStatus = static_cast<std::uint8_t>(number >> 3);
  std::fill(std::begin(header.reserved), std::end(header.reserved),
            static_cast<std::uint8_t>(number >> 5));
  header.scheduleCount = static_cast<std::uint16_t>(number >> 11);
  header.requestCount = ~number;
  header.successCount = number * 3;
  header.recordCount = static_cast<std::uint8_t>(number);
  return header;
}

// The status window loads the latest block header while the acquisition
// thread replaces it block after block: every load is one whole header, and
// successive loads never go back to an older one.
TEST(MonitorRingThreads, LatestBlockHeaderLoadsAreNeverMixed) {
  LatestBlockHeader latest;
  latest.Store(NumberedHeader(0));
  std::atomic<bool> readerDone{false};
  std::uint32_t lastStored = 0;

  // The writer keeps storing until the reader has finished, so that every
  // load below overlaps stores.
  std::thread writer([&] {
    std::uint32_t number = 0;
    while (!readerDone.load()) latest.Store(NumberedHeader(++number));
    lastStored = number;
  });

  while (latest.Load().packetCount == 0) std::this_thread::yield();
  int mixed = 0;
  int backwards = 0;
  std::uint32_t previous = 0;
  for (int load = 0; load < 200000; ++load) {
    const MonitorBlockHeader header = latest.Load();
    const MonitorBlockHeader expected = NumberedHeader(header.packetCount);
    if (std::memcmp(&header, &expected, sizeof header) != 0) ++mixed;
    if (header.packetCount < previous) ++backwards;
    previous = header.packetCount;
  }
  readerDone.store(true);
  writer.join();

  EXPECT_EQ(mixed, 0);
  EXPECT_EQ(backwards, 0);
  const MonitorBlockHeader last = latest.Load();
  const MonitorBlockHeader expectedLast = NumberedHeader(lastStored);
  EXPECT_EQ(std::memcmp(&last, &expectedLast, sizeof last), 0);
}

}  // namespace
}  // namespace orvane::monitor
