// How the unit reads single frames: breaks, sync, parity, stop bits, its own
// length table and checksum model, receiver baud rate, extended frames.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "emulator/ExtendedFrame.h"
#include "emulator/FrameDecoder.h"
#include "emulator/LinFrame.h"

namespace orvane::emulator {
namespace {

using ::testing::ElementsAre;
using Bytes = std::vector<std::uint8_t>;

class FrameDecoderTest : public ::testing::Test {
 protected:
  FrameDecoderTest() {
    for (std::uint8_t id = 0; id < 64; ++id) table_[id] = static_cast<std::uint8_t>(DefaultDataLength(id));
  }

  // A frame of identifier `id` whose slave answers `data` with a classic checksum.
  static FrameOnBus Frame(std::uint8_t id, Bytes data) {
    FrameOnBus frame;
    frame.protected_id = ProtectedId(id);
    frame.response = WithChecksum(ChecksumModel::kClassic, frame.protected_id, data);
    return frame;
  }

  UnitRecord DecodeOne(const FrameOnBus& frame, std::uint32_t baud = 9600) {
    const std::vector<UnitRecord> records = DecodeFrame(frame, {baud, table_}, 1234);
    EXPECT_EQ(records.size(), 1u);
    return records.front();
  }

  std::array<std::uint8_t, 64> table_{};
};

TEST_F(FrameDecoderTest, CompleteFrameIsReportedWithItsBytes) {
  const UnitRecord record = DecodeOne(Frame(0x11, {0x12, 0x34}));
  EXPECT_EQ(+record.time, 1234);
  EXPECT_EQ(record.kind, 1);
  EXPECT_EQ(record.error, 0);
  EXPECT_EQ(record.node, 2);
  EXPECT_EQ(record.flags, 0);
  EXPECT_EQ(record.ident, 0x11);
  EXPECT_EQ(record.sync, 0x55);
  EXPECT_THAT(record.data, ElementsAre(0x12, 0x34, 0, 0, 0, 0, 0, 0));
  EXPECT_EQ(record.checksum, ClassicChecksum(std::array<std::uint8_t, 2>{0x12, 0x34}));
}

TEST_F(FrameDecoderTest, BreakLengthDecidesBetweenByteShortBreakBreakAndLongBreak) {
  FrameOnBus frame = Frame(0x11, {0x12, 0x34});
  frame.break_bits = 9;
  EXPECT_EQ(DecodeOne(frame).error, 9);  // just a byte: framing
  EXPECT_EQ(DecodeOne(frame).node, 3);
  frame.break_bits = 10;
  EXPECT_EQ(DecodeOne(frame).error, 11);
  frame.break_bits = 11;
  EXPECT_EQ(DecodeOne(frame).kind, 1);
  frame.break_bits = 30;
  EXPECT_EQ(DecodeOne(frame).kind, 1);
  frame.break_bits = 31;
  EXPECT_EQ(DecodeOne(frame).error, 6);
}

TEST_F(FrameDecoderTest, HeaderFaultsStopTheDecoding) {
  FrameOnBus sync = Frame(0x11, {0x12, 0x34});
  sync.sync = 0x54;
  const UnitRecord sync_record = DecodeOne(sync);
  EXPECT_EQ(sync_record.kind, 4);
  EXPECT_EQ(sync_record.error, 7);
  EXPECT_EQ(sync_record.sync, 0x54);
  EXPECT_EQ(sync_record.ident, 0);

  FrameOnBus parity = Frame(0x11, {0x12, 0x34});
  parity.protected_id = 0x51;
  const UnitRecord parity_record = DecodeOne(parity);
  EXPECT_EQ(parity_record.error, 1);
  EXPECT_EQ(parity_record.ident, 0x51);
  EXPECT_THAT(parity_record.data, ::testing::Each(0));

  FrameOnBus framing = Frame(0x11, {0x12, 0x34});
  framing.pid_stop_bit_broken = true;
  EXPECT_EQ(DecodeOne(framing).error, 9);
  EXPECT_EQ(DecodeOne(framing).node, 1);
}

TEST_F(FrameDecoderTest, ResponseFaults) {
  FrameOnBus silent = Frame(0x11, {});
  silent.response.clear();
  EXPECT_EQ(DecodeOne(silent).error, 5);

  FrameOnBus short_message = Frame(0x31, {1, 2, 3, 4, 5, 6, 7, 8});
  short_message.response.resize(3);
  const UnitRecord short_record = DecodeOne(short_message);
  EXPECT_EQ(short_record.error, 3);
  EXPECT_THAT(short_record.data, ElementsAre(1, 2, 3, 0, 0, 0, 0, 0));

  FrameOnBus broken = Frame(0x31, {1, 2, 3, 4, 5, 6, 7, 8});
  broken.broken_stop_bit = 2;
  const UnitRecord broken_record = DecodeOne(broken);
  EXPECT_EQ(broken_record.error, 9);
  EXPECT_THAT(broken_record.data, ElementsAre(1, 2, 0, 0, 0, 0, 0, 0));

  FrameOnBus wrong_sum = Frame(0x11, {0x12, 0x34});
  wrong_sum.response.back() ^= 1;
  const UnitRecord sum_record = DecodeOne(wrong_sum);
  EXPECT_EQ(sum_record.error, 2);
  EXPECT_EQ(sum_record.checksum, wrong_sum.response.back());
}

TEST_F(FrameDecoderTest, TheUnitsLengthTableDecides) {
  const FrameOnBus frame = Frame(0x11, {0x12, 0x34});
  table_[0x11] = 0x82;  // enhanced
  EXPECT_EQ(DecodeOne(frame).error, 2);
  table_[0x11] = 4;  // expects more than the slave sends
  EXPECT_EQ(DecodeOne(frame).error, 3);
  table_[0x11] = 1;  // takes 0x34 as the checksum
  EXPECT_EQ(DecodeOne(frame).error, 2);
  table_[0x11] = 0x7F;  // an absurd length is read as 8, never more
  EXPECT_EQ(DecodeOne(frame).error, 3);

  FrameOnBus enhanced = frame;
  enhanced.response = WithChecksum(ChecksumModel::kEnhanced, 0x11, std::array<std::uint8_t, 2>{0x12, 0x34});
  table_[0x11] = 0x82;
  EXPECT_EQ(DecodeOne(enhanced).kind, 1);
}

TEST_F(FrameDecoderTest, HeaderWithoutResponseIsARequestWhenNoDataIsExpected) {
  FrameOnBus header = Frame(0x05, {});
  header.response.clear();
  table_[0x05] = 0;
  const UnitRecord record = DecodeOne(header);
  EXPECT_EQ(record.kind, 0);
  EXPECT_EQ(record.error, 0);
  EXPECT_EQ(record.node, 1);
  EXPECT_EQ(record.ident, 0x85);
}

TEST_F(FrameDecoderTest, GoToSleepIsASleepRecord) {
  const UnitRecord record = DecodeOne(Frame(0x3C, {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(record.kind, 2);
  EXPECT_EQ(record.ident, 0x3C);
  EXPECT_EQ(record.checksum, 0x00);
  EXPECT_EQ(DecodeOne(Frame(0x3C, {0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})).kind, 1);
}

TEST_F(FrameDecoderTest, ReceiverBaudRateMismatch) {
  const FrameOnBus frame = Frame(0x11, {0x12, 0x34});
  EXPECT_EQ(DecodeOne(frame, 9800).kind, 1);  // within what a UART tolerates
  FrameOnBus fast = frame;
  fast.baud = 19200;
  EXPECT_EQ(DecodeOne(fast).error, 9);
  FrameOnBus slow = frame;
  slow.baud = 4800;
  EXPECT_EQ(DecodeOne(slow).error, 7);
  EXPECT_EQ(DecodeOne(slow, 4800).kind, 1);
}

TEST(SampleByteTest, SamplesInTheMiddleOfTheReceiversBits) {
  EXPECT_EQ(SampleByte(0x55, 1.0).value, 0x55);
  EXPECT_EQ(SampleByte(0x55, 1.04).value, 0x55);
  EXPECT_TRUE(SampleByte(0x55, 1.04).stop_bit_ok);
  // Half the speed: the receiver samples every bus bit twice.
  EXPECT_EQ(SampleByte(0x55, 0.5).value, 0x66);
  EXPECT_FALSE(SampleByte(0x00, 0.5).stop_bit_ok);
}

TEST(ExtendedFrameTest, ThirtyBytesMakeAGroupOfThreeRecords) {
  UnitRecord header;
  header.time = 77;
  header.kind = 1;
  header.ident = 0xFE;
  header.flags = 0x80;
  Bytes data(30);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(0xA0 + i);

  const std::vector<UnitRecord> group = MakeExtendedFrameRecords(header, data);
  ASSERT_EQ(group.size(), 3u);
  const auto* first = reinterpret_cast<const std::uint8_t*>(&group[0]);
  EXPECT_THAT(std::vector<std::uint8_t>(first, first + 19),
              ElementsAre(77, 0, 0, 0, 0, 0x83, 1, 0, 0xFE, 0, 30, 0, 0xA0, 0xA1, 0xA2, 0xA3,
                          0xA4, 0xA5, 0xA6));
  const auto* second = reinterpret_cast<const std::uint8_t*>(&group[1]);
  EXPECT_EQ(second[0], 0xA7);
  EXPECT_EQ(second[18], 0xB9);
  const auto* third = reinterpret_cast<const std::uint8_t*>(&group[2]);
  EXPECT_THAT(std::vector<std::uint8_t>(third, third + 6), ElementsAre(0xBA, 0xBB, 0xBC, 0xBD, 0, 0));
}

TEST(ExtendedFrameTest, ShortDataFitsTheHeaderAndLongDataIsCutToFifteenRecords) {
  EXPECT_EQ(MakeExtendedFrameRecords({}, Bytes(7)).size(), 1u);
  EXPECT_EQ(MakeExtendedFrameRecords({}, Bytes(8)).size(), 2u);
  const std::vector<UnitRecord> longest = MakeExtendedFrameRecords({}, Bytes(400, 1));
  ASSERT_EQ(longest.size(), 15u);
  EXPECT_EQ(longest[0].flags & 0x0F, 15);
  EXPECT_EQ(longest[0].data[0] | longest[0].data[1] << 8, 273);
}

TEST_F(FrameDecoderTest, ExtendedIdentifiersGiveARecordGroup) {
  Bytes data(30, 0x42);
  const std::vector<UnitRecord> records = DecodeFrame(Frame(0x3E, data), {9600, table_}, 5);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].kind, 1);
  EXPECT_EQ(records[0].flags & 0x0F, 3);
  EXPECT_EQ(records[0].ident, ProtectedId(0x3E));
}

}  // namespace
}  // namespace orvane::emulator
