// One thread reads the monitor pipe while another exchanges commands, as the
// acquisition thread and the user-interface thread do.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "emulator/VirtualAnalyzer.h"
#include "tests/emulator/PipeClient.h"

namespace orvane::emulator {
namespace {

using testing::MonitorBlock;
using testing::PipeClient;

TEST(ConcurrentPipesTest, MonitorReadsAndCommandExchangesDoNotDisturbEachOther) {
  auto clock = std::make_shared<VirtualClock>();
  VirtualAnalyzer unit(clock);
  PipeClient commands(unit);
  PipeClient monitor(unit);
  ASSERT_TRUE(commands.StartMonitoring());

  std::vector<MonitorBlock> blocks;
  std::atomic<int> blocks_read{0};
  std::atomic<bool> done{false};
  std::thread reader([&] {
    while (!done.load()) {
      auto block = monitor.ReadBlock();
      if (!block) return;
      blocks.push_back(std::move(*block));
      ++blocks_read;
    }
  });

  // Commands keep going until the reader has seen a few seconds of traffic.
  int failures = 0;
  for (int i = 0; i < 300 || blocks_read.load() < 200; ++i) {
    const auto value = static_cast<std::uint8_t>(i);
    if (!commands.MemoryWriteByte(0x2000, value) || commands.ReadByte(0x2000) != value) ++failures;
  }
  ASSERT_TRUE(commands.MonitorStop());
  done.store(true);
  reader.join();

  EXPECT_EQ(failures, 0);
  ASSERT_FALSE(blocks.empty());
  std::size_t records = 0;
  for (const MonitorBlock& block : blocks) {
    EXPECT_EQ(block.size, 27u + 19u * block.header.record_count);
    records += block.records.size();
  }
  EXPECT_GT(records, 0u);
}

}  // namespace
}  // namespace orvane::emulator
