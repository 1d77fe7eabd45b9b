// Injected faults: unplugging, stalled and garbled replies, oversized blocks.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "emulator/VirtualAnalyzer.h"
#include "tests/emulator/PipeClient.h"

namespace orvane::emulator {
namespace {

using ::testing::ElementsAre;
using ::testing::Optional;
using testing::PipeClient;
using Bytes = std::vector<std::uint8_t>;

class FaultInjectionTest : public ::testing::Test {
 protected:
  std::shared_ptr<VirtualClock> clock_ = std::make_shared<VirtualClock>();
  VirtualAnalyzer unit_{clock_, *ProfileNamed("clean")};
  PipeClient client_{unit_};
};

TEST_F(FaultInjectionTest, UnpluggedUnitFailsEveryPipeAtOnce) {
  ASSERT_TRUE(client_.StartMonitoring());
  unit_.Unplug();
  EXPECT_FALSE(unit_.IsPresent());
  Bytes buffer(512);
  std::size_t delivered = 7;
  EXPECT_FALSE(unit_.WriteCommandPipe(PipeClient::Packet(CommandCode::kTargetGo, {})));
  EXPECT_FALSE(unit_.ReadReplyPipe(buffer, delivered));
  EXPECT_EQ(delivered, 0u);
  EXPECT_FALSE(unit_.ReadMonitorPipe(buffer, delivered));
  EXPECT_EQ(clock_->NowMicros(), 0);
}

TEST_F(FaultInjectionTest, ReplugPowersTheUnitOnAgainAndKeepsTheFlash) {
  ASSERT_TRUE(client_.StartMonitoring());
  ASSERT_TRUE(client_.MemoryWriteByte(0x0401, 2));
  ASSERT_TRUE(client_.FlashErase(0xD0000));
  ASSERT_TRUE(unit_.WriteCommandPipe(PipeClient::Packet(CommandCode::kTargetGo, {})));
  unit_.Unplug();
  unit_.Replug();
  EXPECT_TRUE(unit_.IsPresent());
  // The reply pending before the unplug is gone; the boot program runs.
  EXPECT_FALSE(client_.MonitorStart());
  EXPECT_EQ(client_.ReadByte(0x0401), 0);
  EXPECT_THAT(client_.MemoryReadEx(0xD0000, 1), Optional(ElementsAre(0xFF)));
  const auto block = client_.ReadBlock();
  ASSERT_TRUE(block);
  EXPECT_EQ(block->header.record_count, 0);
}

TEST_F(FaultInjectionTest, StalledReplyNeverComesButTheCommandIsCarriedOut) {
  unit_.StallNextReply();
  EXPECT_FALSE(client_.TargetGo());
  EXPECT_TRUE(client_.MonitorStart());
  unit_.StallNextReply();
  EXPECT_FALSE(client_.MemoryRead(0x0401, 1));
  EXPECT_TRUE(client_.MemoryRead(0x0401, 1));
}

TEST_F(FaultInjectionTest, GarbledRepliesBreakTheFramingOrTheEcho) {
  unit_.GarbleNextReply();
  EXPECT_THAT(client_.Exchange(PipeClient::Packet(CommandCode::kTargetGo, {})),
              Optional(ElementsAre(0x00, 0x01)));
  unit_.GarbleNextReply();
  EXPECT_THAT(client_.Exchange(Bytes{0x02, 0x00, 0x09, 0x04, 0x04, 0x15, 0x00, 0x01, 0x03}),
              Optional(ElementsAre(0x02, 0x00, 0x09, 0x04, 0x04, 0x15, 0x00, 0xFE, 0x00)));
  unit_.GarbleNextReply();
  EXPECT_THAT(client_.Exchange(Bytes{0x02, 0x00, 0x0A, 0x07, 0x0C, 0x00, 0x00, 0x00, 0x01, 0x03}),
              Optional(ElementsAre(0x02, 0x00, 0x0A, 0x07, 0x0C, 0x00, 0x00, 0x00, 0xFE, 'V')));
  EXPECT_TRUE(client_.MemoryRead(0x0415, 1));
}

TEST_F(FaultInjectionTest, OversizedBlocksFillA512ByteRead) {
  ASSERT_TRUE(client_.StartMonitoring());
  client_.ReadBlocksFor(Micros(100'000));
  clock_->Advance(Micros(1'000'000));
  for (const std::uint8_t announced : {26, 150}) {
    unit_.AnnounceOversizedNextBlock(announced);
    Bytes buffer(512);
    std::size_t delivered = 0;
    ASSERT_TRUE(unit_.ReadMonitorPipe(buffer, delivered));
    EXPECT_EQ(delivered, 512u);
    EXPECT_EQ(buffer[26], announced);
    // 25 real records: the first one is a frame with the sync byte 0x55.
    EXPECT_EQ(buffer[27 + 9], 0x55);
    EXPECT_EQ(buffer[27 + 24 * 19 + 9], 0x55);
  }
  const auto next = client_.ReadBlock();
  ASSERT_TRUE(next);
  EXPECT_LE(next->header.record_count, 25);
  EXPECT_EQ(next->size, 27u + 19u * next->header.record_count);
}

TEST_F(FaultInjectionTest, ReadsIntoSmallBuffersAreCut) {
  ASSERT_TRUE(client_.TargetGo());
  ASSERT_TRUE(unit_.WriteCommandPipe(Bytes{0x02, 0x00, 0x09, 0x04, 0x04, 0x01, 0x00, 0x04, 0x03}));
  Bytes small(4);
  std::size_t delivered = 0;
  ASSERT_TRUE(unit_.ReadReplyPipe(small, delivered));
  EXPECT_EQ(delivered, 4u);
  ASSERT_TRUE(unit_.ReadMonitorPipe(small, delivered));
  EXPECT_EQ(delivered, 4u);
}

}  // namespace
}  // namespace orvane::emulator
