// Identifier definition rules and record defaults that the file tests do
// not reach.
#include <gtest/gtest.h>

#include "settings/IdentifierDefinition.h"
#include "settings/OptionSettings.h"

namespace orvane::settings {
namespace {

TEST(IdentifierDefinition, DefaultLengthsFollowBitsFourAndFive) {
  EXPECT_EQ(DefaultDataLength(0x00), 2);
  EXPECT_EQ(DefaultDataLength(0x1F), 2);
  EXPECT_EQ(DefaultDataLength(0x20), 4);
  EXPECT_EQ(DefaultDataLength(0x25), 4);
  EXPECT_EQ(DefaultDataLength(0x30), 8);
  EXPECT_EQ(DefaultDataLength(0x3C), 8);
  EXPECT_EQ(DefaultDataLength(0x3F), 8);
}

TEST(IdentifierDefinition, DefaultOfOnePageLeavesTheOthers) {
  IdentifierDefinition definition{};
  for (std::size_t id = 0; id < kIdentifierCount; ++id) {
    definition.dataLength[id] = 1;
    definition.classicChecksum[id] = 0;
  }
  SetIdentifierDefaults(definition, 0x20, 16);
  EXPECT_EQ(definition.dataLength[0x1F], 1);
  EXPECT_EQ(definition.classicChecksum[0x1F], 0u);
  EXPECT_EQ(definition.dataLength[0x20], 4);
  EXPECT_EQ(definition.classicChecksum[0x2F], 1u);
  EXPECT_EQ(definition.dataLength[0x30], 1);

  SetIdentifierDefaults(definition, 0x30, 100);  // clipped at 0x3F
  EXPECT_EQ(definition.dataLength[0x3F], 8);
}

TEST(IdentifierDefinition, Lin13ConversionMakesEveryChecksumClassic) {
  IdentifierDefinition definition{};
  definition.classicChecksum[0x10] = 1;
  ConvertToLin13(definition);
  for (std::size_t id = 0; id < kIdentifierCount; ++id) EXPECT_EQ(definition.classicChecksum[id], 1u);
}

TEST(IdentifierDefinition, DataLengthEntryAndEnhancedChoice) {
  EXPECT_EQ(ParseDataLength("0"), 0);
  EXPECT_EQ(ParseDataLength("8"), 8);
  for (const char* bad : {"9", "", "a", "10", "-"}) EXPECT_FALSE(ParseDataLength(bad)) << bad;
  EXPECT_EQ(kDataLengthRangeMessage.text, "Please input a correct value in the range of 0 - 8.");

  EXPECT_TRUE(CanUseEnhancedChecksum(0x3B, true));
  EXPECT_FALSE(CanUseEnhancedChecksum(0x3B, false));
  for (std::uint8_t id : {0x3C, 0x3D, 0x3E, 0x3F}) EXPECT_FALSE(CanUseEnhancedChecksum(id, true));
}

TEST(OptionSettings, BaudRateTimingIsCopiedFromTheTable) {
  OptionSettings options = DefaultOptionSettings();
  options.BaudRateCode = 0;
  ASSERT_TRUE(ApplyBaudRateTiming(options));
  const std::uint8_t expected500[] = {0x02, 0x3D, 0x02, 0x50, 0x02, 0x3D, 0x02, 0xF7, 0x7F, 0x3E};
  EXPECT_TRUE(std::equal(std::begin(expected500), std::end(expected500), options.FrameTiming.TimingBlock));

  options.BaudRateCode = 14;  // not in the table: the block stays
  EXPECT_FALSE(ApplyBaudRateTiming(options));
  EXPECT_EQ(options.FrameTiming.TimingBlock[7], 0xF7);
  EXPECT_EQ(kBaudRates[13].bitsPerSecond, 19200u);
  EXPECT_EQ(kBaudRates[4].label, "15K");
}

}  // namespace
}  // namespace orvane::settings
