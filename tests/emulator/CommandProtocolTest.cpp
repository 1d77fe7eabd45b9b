// Command packets and their replies, byte for byte, over the pipes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "emulator/VirtualAnalyzer.h"
#include "tests/emulator/PipeClient.h"

namespace orvane::emulator {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::PipeClient;
using Bytes = std::vector<std::uint8_t>;

class CommandProtocolTest : public ::testing::Test {
 protected:
  std::shared_ptr<VirtualClock> clock_ = std::make_shared<VirtualClock>();
  VirtualAnalyzer unit_{clock_};
  PipeClient client_{unit_};

  // True when the reply pipe has nothing to deliver.
  bool NoReplyPending() {
    Bytes buffer(512);
    std::size_t delivered = 0;
    return !unit_.ReadReplyPipe(buffer, delivered);
  }
};

TEST_F(CommandProtocolTest, MemoryWriteIsAcknowledgedAndReadBackByteForByte) {
  EXPECT_THAT(client_.Exchange(Bytes{0x02, 0x00, 0x0A, 0x03, 0x04, 0x01, 0x00, 0x01, 0x03, 0x03}),
              ::testing::Optional(ElementsAre(0x55, 0x03)));
  EXPECT_THAT(client_.Exchange(Bytes{0x02, 0x00, 0x09, 0x04, 0x04, 0x01, 0x00, 0x01, 0x03}),
              ::testing::Optional(ElementsAre(0x02, 0x00, 0x09, 0x04, 0x04, 0x01, 0x00, 0x01, 0x03)));
}

TEST_F(CommandProtocolTest, MemoryReadExEchoesItsSixBytesBeforeTheData) {
  const auto reply = client_.Exchange(Bytes{0x02, 0x00, 0x0A, 0x07, 0x0C, 0x00, 0x00, 0x00, 0x0A, 0x03});
  ASSERT_TRUE(reply);
  EXPECT_THAT(*reply, ElementsAre(0x02, 0x00, 0x13, 0x07, 0x0C, 0x00, 0x00, 0x00, 0x0A, 'V', 'A',
                                  '0', '0', '0', '0', '0', '1', 0xFF, 0xFF));
}

TEST_F(CommandProtocolTest, ReadRepliesFillAtMostOneBlockOf512Bytes) {
  const auto largest = client_.MemoryRead(0x1000, 504);
  ASSERT_TRUE(largest);
  EXPECT_EQ(largest->size(), 504u);
  EXPECT_TRUE(client_.MemoryReadEx(0x1000, 503));

  EXPECT_FALSE(client_.MemoryRead(0x1000, 505));
  EXPECT_FALSE(client_.MemoryReadEx(0x1000, 504));
}

TEST_F(CommandProtocolTest, MalformedPacketsAreTakenButNeverAnswered) {
  const std::vector<Bytes> malformed = {
      {},
      {0x02, 0x00, 0x05, 0x05},                          // too short
      {0x03, 0x00, 0x05, 0x05, 0x03},                    // wrong start byte
      {0x02, 0x00, 0x05, 0x05, 0x02},                    // wrong end byte
      {0x02, 0x00, 0x06, 0x05, 0x03},                    // length field differs from the bytes
      {0x02, 0x00, 0x05, 0x09, 0x03},                    // unknown command code
      {0x02, 0x00, 0x05, 0x00, 0x03},                    // code 0
      {0x02, 0x00, 0x06, 0x05, 0x00, 0x03},              // MonitorStart with a parameter
      {0x02, 0x00, 0x08, 0x04, 0x04, 0x01, 0x00, 0x03},  // MemoryRead without its length
      {0x02, 0x00, 0x0A, 0x03, 0x04, 0x01, 0x00, 0x02, 0x00, 0x03},  // writes 2, carries 1
      // FrashWrite of one byte 0x12 whose sum says 0x13.
      {0x02, 0x00, 0x0D, 0x02, 0x0D, 0x00, 0x00, 0x00, 0x01, 0x12, 0x00, 0x13, 0x03},
  };
  for (const Bytes& packet : malformed) {
    EXPECT_TRUE(unit_.WriteCommandPipe(packet)) << ::testing::PrintToString(packet);
    EXPECT_TRUE(NoReplyPending()) << ::testing::PrintToString(packet);
  }
  EXPECT_THAT(client_.MemoryReadEx(0xD0000, 1), ::testing::Optional(ElementsAre('V')));
}

TEST_F(CommandProtocolTest, PacketsLongerThan512BytesCannotBeWritten) {
  Bytes packet = PipeClient::Packet(CommandCode::kMemoryWrite, Bytes(508, 0));
  ASSERT_EQ(packet.size(), 513u);
  EXPECT_FALSE(unit_.WriteCommandPipe(packet));
}

TEST_F(CommandProtocolTest, WritesPastTheEndOfRamAreRefusedWhole) {
  EXPECT_FALSE(client_.MemoryWrite(0xFFFF, Bytes{0x11, 0x22}));
  EXPECT_EQ(client_.ReadByte(0xFFFF), 0x00);
  EXPECT_TRUE(client_.MemoryWriteByte(0xFFFF, 0x11));
  EXPECT_EQ(client_.ReadByte(0xFFFF), 0x11);
}

TEST_F(CommandProtocolTest, ReadsOutsideRamAndFlashGiveErasedBytes) {
  EXPECT_THAT(client_.MemoryReadEx(0xBFFFE, 4), ::testing::Optional(ElementsAre(0xFF, 0xFF, 'V', 'A')));
  EXPECT_THAT(client_.MemoryReadEx(0xF0000, 2), ::testing::Optional(ElementsAre(0xFF, 0xFF)));
}

TEST_F(CommandProtocolTest, BootProgramServesMemoryAndFlashButNotTheMonitor) {
  EXPECT_FALSE(client_.MonitorStart());
  EXPECT_FALSE(client_.MonitorStop());
  EXPECT_TRUE(client_.MemoryWriteByte(0x2000, 0x42));
  EXPECT_EQ(client_.ReadByte(0x2000), 0x42);
  EXPECT_TRUE(client_.FlashErase(0xD0000));

  EXPECT_THAT(client_.Exchange(Bytes{0x02, 0x00, 0x05, 0x01, 0x03}),
              ::testing::Optional(ElementsAre(0x55, 0x01)));
  EXPECT_TRUE(client_.MonitorStart());
  EXPECT_TRUE(client_.MonitorStop());
  EXPECT_TRUE(client_.TargetGo());
}

TEST_F(CommandProtocolTest, RepliesArriveInCommandOrder) {
  ASSERT_TRUE(unit_.WriteCommandPipe(PipeClient::Packet(CommandCode::kTargetGo, {})));
  ASSERT_TRUE(unit_.WriteCommandPipe(Bytes{0x02, 0x00, 0x09, 0x04, 0x04, 0x15, 0x00, 0x01, 0x03}));
  Bytes buffer(256);
  std::size_t delivered = 0;
  ASSERT_TRUE(unit_.ReadReplyPipe(buffer, delivered));
  EXPECT_EQ(buffer[0], 0x55);
  ASSERT_TRUE(unit_.ReadReplyPipe(buffer, delivered));
  EXPECT_THAT(Bytes(buffer.begin(), buffer.begin() + static_cast<long>(delivered)),
              ElementsAreArray({0x02, 0x00, 0x09, 0x04, 0x04, 0x15, 0x00, 0x01, 0x00}));
}

TEST_F(CommandProtocolTest, UnreadRepliesAreKeptUpToALimit) {
  for (int i = 0; i < 20; ++i) {
    ASSERT_TRUE(unit_.WriteCommandPipe(PipeClient::Packet(CommandCode::kTargetGo, {})));
  }
  Bytes buffer(512);
  std::size_t delivered = 0;
  for (std::size_t i = 0; i < kMaxPendingReplies; ++i) {
    EXPECT_TRUE(unit_.ReadReplyPipe(buffer, delivered));
  }
  EXPECT_TRUE(NoReplyPending());
}

TEST_F(CommandProtocolTest, AnEmptyReplyPipeTimesOutOnTheClock) {
  const std::int64_t before = clock_->NowMicros();
  EXPECT_TRUE(NoReplyPending());
  EXPECT_EQ(clock_->NowMicros() - before, kReplyTimeout.count());
}

}  // namespace
}  // namespace orvane::emulator
