// The link from two threads at once: monitor blocks read while commands
// are exchanged, and devices opened and closed concurrently.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <set>
#include <thread>
#include <vector>

#include "link/orlink.h"
#include "tests/support/VirtualLinkRig.h"

namespace orvane::testing {
namespace {

TEST(ConcurrentLinkTest, MonitorReadRunsWhileCommandsAreExchanged) {
  VirtualLinkRig rig;
  ASSERT_EQ(InitUSB(), 1);
  ASSERT_EQ(TargetGo(), 1);
  ASSERT_EQ(MonitorStart(), 1);

  constexpr int kBlocks = 200;
  std::atomic<int> blocks_read{0};
  std::thread acquisition([&] {
    std::array<std::uint8_t, 27> header{};
    std::vector<std::uint8_t> records(25 * 19);
    for (int block = 0; block < kBlocks; ++block) {
      if (MonitorRead(header.data(), records.data(), 25) == 1 && header[26] <= 25) {
        ++blocks_read;
      }
    }
  });
  int exchanges = 0;
  for (std::uint8_t value = 0; value < 100; ++value) {
    const std::array<std::uint8_t, 2> written{value, static_cast<std::uint8_t>(~value)};
    std::array<std::uint8_t, 2> read_back{};
    if (MemoryWrite(0x0413, 2, written.data()) == 1 &&
        MemoryRead(0x0413, 2, read_back.data()) == 1 && read_back == written) {
      ++exchanges;
    }
  }
  acquisition.join();

  EXPECT_EQ(exchanges, 100);
  EXPECT_EQ(blocks_read.load(), kBlocks);
  EXPECT_EQ(MonitorStop(), 1);
}

TEST(ConcurrentLinkTest, ConcurrentOpensNeverShareAnEntry) {
  VirtualLinkRig rig;
  constexpr int kThreads = 4;
  constexpr int kOpensPerThread = 30;
  std::array<std::vector<std::int32_t>, kThreads> indices;
  std::vector<std::thread> threads;
  for (auto& opened : indices) {
    threads.emplace_back([&opened] {
      for (int open = 0; open < kOpensPerThread; ++open) opened.push_back(Uusbd_Open());
      // Close half again so that freed entries are taken by the others.
      for (int open = 0; open < kOpensPerThread / 2; ++open) Uusbd_Close(opened[open]);
      opened.erase(opened.begin(), opened.begin() + kOpensPerThread / 2);
    });
  }
  for (std::thread& thread : threads) thread.join();

  std::set<std::int32_t> distinct;
  for (const auto& opened : indices) {
    for (const std::int32_t index : opened) {
      EXPECT_GE(index, 0);
      EXPECT_EQ(Uusbd_Check(index), 0);
      distinct.insert(index);
    }
  }
  EXPECT_EQ(distinct.size(), static_cast<std::size_t>(kThreads * kOpensPerThread / 2));
}

}  // namespace
}  // namespace orvane::testing
