// Exact bytes of the command packets and the checks on the answers.
#include "link/CommandPacket.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orlink {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Of(const CommandPacket& packet) { return {packet.bytes().begin(), packet.bytes().end()}; }

TEST(CommandPacketTest, FixedPacketsAreByteExact) {
  EXPECT_EQ(Of(BuildBareCommand(CommandCode::kTargetGo)), (Bytes{0x02, 0x00, 0x05, 0x01, 0x03}));
  EXPECT_EQ(Of(BuildBareCommand(CommandCode::kMonitorStart)),
            (Bytes{0x02, 0x00, 0x05, 0x05, 0x03}));
  EXPECT_EQ(Of(BuildBareCommand(CommandCode::kMonitorStop)),
            (Bytes{0x02, 0x00, 0x05, 0x06, 0x03}));
  EXPECT_EQ(Of(BuildFrashErase(0x020000)),
            (Bytes{0x02, 0x00, 0x08, 0x08, 0x02, 0x00, 0x00, 0x03}));
  EXPECT_EQ(Of(*BuildMemoryWrite(0x0401, Bytes{0x00})),
            (Bytes{0x02, 0x00, 0x0A, 0x03, 0x04, 0x01, 0x00, 0x01, 0x00, 0x03}));
  EXPECT_EQ(Of(*BuildMemoryRead(0x0417, 1)),
            (Bytes{0x02, 0x00, 0x09, 0x04, 0x04, 0x17, 0x00, 0x01, 0x03}));
  EXPECT_EQ(Of(*BuildMemoryReadEx(0x0C0000, 32)),
            (Bytes{0x02, 0x00, 0x0A, 0x07, 0x0C, 0x00, 0x00, 0x00, 0x20, 0x03}));
}

TEST(CommandPacketTest, AddressesKeepOnlyTheBitsThePacketCarries) {
  EXPECT_EQ(Of(*BuildMemoryWrite(0x12345678, Bytes{})),
            (Bytes{0x02, 0x00, 0x09, 0x03, 0x56, 0x78, 0x00, 0x00, 0x03}));
  EXPECT_EQ(Of(BuildFrashErase(0xFF0E1234)),
            (Bytes{0x02, 0x00, 0x08, 0x08, 0x0E, 0x12, 0x34, 0x03}));
}

TEST(CommandPacketTest, FrashWriteCarriesDataAndTheirSum) {
  const Bytes data(256, 0xFF);
  const Bytes packet = Of(*BuildFrashWrite(0x010000, data));
  ASSERT_EQ(packet.size(), 268u);
  EXPECT_EQ(Bytes(packet.begin(), packet.begin() + 9),
            (Bytes{0x02, 0x01, 0x0C, 0x02, 0x01, 0x00, 0x00, 0x01, 0x00}));
  EXPECT_EQ(Bytes(packet.begin() + 9, packet.begin() + 265), data);
  EXPECT_EQ(Bytes(packet.end() - 3, packet.end()), (Bytes{0xFF, 0x00, 0x03}));

  // The sum wraps modulo 65536: 500 bytes of 0xFF sum to 0x1F20C.
  const Bytes largest = Of(*BuildFrashWrite(0, Bytes(500, 0xFF)));
  ASSERT_EQ(largest.size(), 512u);
  EXPECT_EQ(Bytes(largest.end() - 3, largest.end()), (Bytes{0xF2, 0x0C, 0x03}));
}

TEST(CommandPacketTest, LengthsBeyondThe512ByteBuffersAreRefused) {
  EXPECT_TRUE(BuildFrashWrite(0, Bytes(500)));
  EXPECT_FALSE(BuildFrashWrite(0, Bytes(501)));
  EXPECT_EQ(BuildMemoryWrite(0, Bytes(503))->bytes().size(), 512u);
  EXPECT_FALSE(BuildMemoryWrite(0, Bytes(504)));
  EXPECT_TRUE(BuildMemoryRead(0, 504));
  EXPECT_FALSE(BuildMemoryRead(0, 505));
  EXPECT_TRUE(BuildMemoryReadEx(0, 503));
  EXPECT_FALSE(BuildMemoryReadEx(0, 504));
}

TEST(CommandPacketTest, AcknowledgeIsRecognisedByItsFirstByteOnly) {
  EXPECT_TRUE(IsAcknowledge(Bytes{0x55}));
  EXPECT_TRUE(IsAcknowledge(Bytes{0x55, 0x02, 0x99}));
  EXPECT_FALSE(IsAcknowledge(Bytes{0x02, 0x55}));
  EXPECT_FALSE(IsAcknowledge(Bytes{}));
}

TEST(CommandPacketTest, ReadReplyMustEchoTheRequestAndDeliverAllData) {
  const CommandPacket request = *BuildMemoryRead(0x0417, 2);
  const Bytes reply{0x02, 0x00, 0x0B, 0x04, 0x04, 0x17, 0x00, 0x02, 0x80, 0x25, 0x03};
  const auto data = MatchReadReply(request, reply, 2);
  ASSERT_TRUE(data);
  EXPECT_EQ(Bytes(data->begin(), data->end()), (Bytes{0x80, 0x25}));

  Bytes wrong_length = reply;
  wrong_length[7] = 0x03;
  EXPECT_FALSE(MatchReadReply(request, wrong_length, 2));
  Bytes wrong_start = reply;
  wrong_start[0] = 0x55;
  EXPECT_FALSE(MatchReadReply(request, wrong_start, 2));
  // Bytes 1-2 are not examined.
  Bytes odd_length_field = reply;
  odd_length_field[1] = 0x7F;
  EXPECT_TRUE(MatchReadReply(request, odd_length_field, 2));
  // A block that stops inside the data is not taken.
  EXPECT_FALSE(MatchReadReply(request, Bytes(reply.begin(), reply.begin() + 9), 2));

  const CommandPacket extended = *BuildMemoryReadEx(0x0D0000, 1);
  EXPECT_TRUE(MatchReadReply(extended, Bytes{0x02, 0, 0, 0x07, 0x0D, 0, 0, 0, 1, 0x56}, 1));
  EXPECT_FALSE(MatchReadReply(extended, Bytes{0x02, 0, 0, 0x07, 0x0E, 0, 0, 0, 1, 0x56}, 1));
}

}  // namespace
}  // namespace orlink
