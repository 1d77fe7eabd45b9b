// Protected identifiers, checksums, default lengths and the timing table
// against known values.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <climits>

#include "emulator/BaudTiming.h"
#include "emulator/LinFrame.h"
#include "emulator/UnitReceiver.h"

namespace orvane::emulator {
namespace {

TEST(LinFrameTest, ProtectedIdentifiersCarryBothParityBits) {
  EXPECT_EQ(ProtectedId(0x00), 0x80);
  EXPECT_EQ(ProtectedId(0x01), 0xC1);
  EXPECT_EQ(ProtectedId(0x10), 0x50);
  EXPECT_EQ(ProtectedId(0x20), 0x20);
  EXPECT_EQ(ProtectedId(0x3C), 0x3C);
  EXPECT_EQ(ProtectedId(0x3D), 0x7D);
  EXPECT_EQ(ProtectedId(0x3F), 0xBF);
  EXPECT_TRUE(HasValidParity(0xC1));
  EXPECT_FALSE(HasValidParity(0x41));
  EXPECT_FALSE(HasValidParity(0x01));
}

TEST(LinFrameTest, ChecksumsAddWithCarryAndInvert) {
  const std::array<std::uint8_t, 3> data = {0x55, 0x93, 0xE5};
  EXPECT_EQ(EnhancedChecksum(0x4A, data), 0xE6);
  EXPECT_EQ(ClassicChecksum(data), 0x31);
  EXPECT_EQ(ClassicChecksum({}), 0xFF);
  const std::array<std::uint8_t, 8> sleep = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(ClassicChecksum(sleep), 0x00);
}

TEST(LinFrameTest, DiagnosticFramesKeepTheClassicChecksum) {
  const std::array<std::uint8_t, 2> data = {0x12, 0x34};
  EXPECT_EQ(FrameChecksum(ChecksumModel::kEnhanced, 0x3C, data), ClassicChecksum(data));
  EXPECT_EQ(FrameChecksum(ChecksumModel::kEnhanced, 0x7D, data), ClassicChecksum(data));
  EXPECT_EQ(FrameChecksum(ChecksumModel::kEnhanced, 0x50, data), EnhancedChecksum(0x50, data));
  EXPECT_EQ(FrameChecksum(ChecksumModel::kClassic, 0x50, data), ClassicChecksum(data));
}

TEST(LinFrameTest, DefaultLengthsFollowIdentifierBits4And5) {
  EXPECT_EQ(DefaultDataLength(0x00), 2);
  EXPECT_EQ(DefaultDataLength(0x1F), 2);
  EXPECT_EQ(DefaultDataLength(0x25), 4);
  EXPECT_EQ(DefaultDataLength(0x30), 8);
  EXPECT_EQ(DefaultDataLength(0x3C), 8);
}

TEST(BaudTimingTest, TimingBytesNameTheirBaudRate) {
  const std::array<std::uint8_t, 10> timing_9600 = {0x00, 0x33, 0x00, 0x42, 0x00,
                                                    0x33, 0x00, 0xCF, 0x40, 0x03};
  EXPECT_EQ(BaudFromTiming(timing_9600), 9600u);
  for (const BaudTimingEntry& entry : kBaudTimingTable) {
    EXPECT_EQ(BaudFromTiming(entry.timing), entry.baud);
    EXPECT_EQ(TimingForBaud(entry.baud), entry.timing);
  }
  std::array<std::uint8_t, 10> unknown = timing_9600;
  unknown[9] = 0x04;
  EXPECT_FALSE(BaudFromTiming(unknown));
  EXPECT_FALSE(TimingForBaud(9601));
}

TEST(UnitMillisTest, CounterIsSigned32BitAndWraps) {
  EXPECT_EQ(UnitMillis(1'999), 1);
  EXPECT_EQ(UnitMillis(std::int64_t{INT32_MAX} * 1000), INT32_MAX);
  EXPECT_EQ(UnitMillis((std::int64_t{INT32_MAX} + 1) * 1000), INT32_MIN);
}

}  // namespace
}  // namespace orvane::emulator
