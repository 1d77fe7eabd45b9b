#include "analyzer/RegisterMap.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "tests/analyzer/RegisterFixture.h"

namespace orvane::analyzer {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Bytes = std::vector<std::uint8_t>;

class RegisterMapTest : public test::RegisterFixture {
 protected:
  Bytes ReadBack(std::uint32_t address, std::size_t length) {
    Bytes bytes(length);
    EXPECT_EQ(link_.MemoryRead(address, static_cast<std::uint32_t>(length), bytes.data()), 1);
    return bytes;
  }
};
TEST_F(RegisterMapTest, LengthTableCarriesLengthAndEnhancedBit) {
  settings::IdentifierDefinition definition;
  settings::SetIdentifierDefaults(definition);
  definition.dataLength[0x10] = 8;
  definition.classicChecksum[0x10] = 0;
  definition.classicChecksum[0x3F] = 7;  // any non-zero flag is classic

  ASSERT_TRUE(map_.WriteLengthTable(definition));
  const Bytes table = ReadBack(0x11B0, 64);
  EXPECT_EQ(table[0x10], 0x88);
  EXPECT_EQ(table[0x00], 0x02);
  EXPECT_EQ(table[0x25], 0x04);
  EXPECT_EQ(table[0x3F], 0x08);
  EXPECT_EQ(tap_.Writes().size(), 1u);  // one write of all 64 bytes
}

TEST_F(RegisterMapTest, FrameParametersAreWrittenInOrderFromTheTimingTable) {
  settings::OptionSettings options = settings::DefaultOptionSettings();
  options.BaudRateCode = 13;  // 19200
  options.FrameTiming.SpaceA = 4;
  options.FrameTiming.SpaceB = 5;
  options.FrameTiming.ByteSpace = 6;
  settings::OptionSettingsExt extension = settings::DefaultOptionSettingsExt();
  extension.BreakSelect = 1;
  extension.WakeupMicros = 10000;
  extension.IoChannels[1].enabled = 1;

  ASSERT_TRUE(map_.WriteFrameParameters(options, extension));
  EXPECT_THAT(tap_.WrittenAddresses(), ElementsAre(0x0402, 0x0412, 0x0413, 0x0419, 0x041A, 0x041B));
  EXPECT_THAT(tap_.Writes()[0].bytes, ElementsAre(0x00, 0x19, 0x00, 0x21, 0x00, 0x19, 0x00, 0x67,
                                                  0x9F, 0x01, 4, 5, 6, options.FrameTiming.spare));
  EXPECT_THAT(tap_.Writes()[1].bytes, ElementsAre(1));
  EXPECT_THAT(tap_.Writes()[2].bytes, ElementsAre(0x10, 0x27));
  EXPECT_THAT(tap_.Writes()[3].bytes, ElementsAre(0));
  EXPECT_THAT(tap_.Writes()[4].bytes, ElementsAre(1));
  // The timing entry is kept in the settings, as the configuration stores it.
  EXPECT_THAT(options.FrameTiming.TimingBlock,
              ElementsAre(0x00, 0x19, 0x00, 0x21, 0x00, 0x19, 0x00, 0x67, 0x9F, 0x01));
}

TEST_F(RegisterMapTest, FrameParametersStopAtTheFirstFailedWrite) {
  settings::OptionSettings options = settings::DefaultOptionSettings();
  tap_.FailMemoryWrite(0x0413);
  EXPECT_FALSE(map_.WriteFrameParameters(options, settings::DefaultOptionSettingsExt()));
  EXPECT_THAT(tap_.WrittenAddresses(), ElementsAre(0x0402, 0x0412, 0x0413));
}

TEST_F(RegisterMapTest, UnknownBaudRateCodeFailsWithoutWriting) {
  settings::OptionSettings options = settings::DefaultOptionSettings();
  options.BaudRateCode = 14;
  EXPECT_FALSE(map_.WriteFrameParameters(options, settings::DefaultOptionSettingsExt()));
  EXPECT_TRUE(tap_.Writes().empty());
}

TEST_F(RegisterMapTest, SingleRegistersGetTheLowByte) {
  EXPECT_TRUE(map_.SetAnalyzerMode(kAnalyzerModeBaudrate));
  EXPECT_TRUE(map_.WriteLinRevision(0x0101));
  EXPECT_TRUE(map_.WriteScheduleSwitch(1));
  EXPECT_TRUE(map_.WriteInterruptSwitch(0));
  EXPECT_TRUE(map_.SelectBank(1));
  EXPECT_THAT(tap_.WrittenAddresses(), ElementsAre(0x0401, 0x0415, 0x040F, 0x0411, 0x0416));
  EXPECT_THAT(ReadBack(0x0415, 1), ElementsAre(1));
  EXPECT_THAT(ReadBack(0x0401, 1), ElementsAre(3));
}

TEST_F(RegisterMapTest, BankStateNamesBanksOneAndTwo) {
  EXPECT_TRUE(map_.WriteBankState(1, 0));
  EXPECT_TRUE(map_.WriteBankState(2, 0));
  EXPECT_FALSE(map_.WriteBankState(0, 0));
  EXPECT_FALSE(map_.WriteBankState(3, 0));
  EXPECT_THAT(tap_.WrittenAddresses(), ElementsAre(0x0600, 0x07D0));
}

TEST_F(RegisterMapTest, OneShotEntryGoesThroughAFreeMailbox) {
  const std::array<std::uint8_t, 14> entry{0x81, 0x12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  ASSERT_TRUE(map_.SendOneShotEntry(entry));
  ASSERT_EQ(tap_.Writes().size(), 2u);
  EXPECT_EQ(tap_.Writes()[0].address, 0x07E0u);
  EXPECT_THAT(tap_.Writes()[0].bytes, ElementsAreArray(entry));
  EXPECT_EQ(tap_.Writes()[1].address, 0x07EEu);
  EXPECT_THAT(tap_.Writes()[1].bytes, ElementsAre(1));
}

TEST_F(RegisterMapTest, OneShotEntryFailsAfterThreeAttemptsWhileTheMailboxIsBusy) {
  tap_.ScriptReads(0x07EE, {1});
  const std::int64_t start = rig_.Elapsed().count();
  EXPECT_FALSE(map_.SendWakeup());
  EXPECT_EQ(tap_.ReadCount(0x07EE), 3);
  EXPECT_TRUE(tap_.Writes().empty());
  EXPECT_GE(rig_.Elapsed().count() - start, 150);
  EXPECT_LT(rig_.Elapsed().count() - start, 200);
}

TEST_F(RegisterMapTest, WakeupIsTheFixedOneShotEntry) {
  tap_.ScriptReads(0x07EE, {1, 0});
  ASSERT_TRUE(map_.SendWakeup());
  EXPECT_EQ(tap_.ReadCount(0x07EE), 2);
  EXPECT_THAT(tap_.WritesTo(0x07E0).at(0).bytes,
              ElementsAre(0x01, 0x00, 0x30, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
}

TEST_F(RegisterMapTest, ExtendedDataGoesToItsFileSlot) {
  std::array<std::uint8_t, 256> data;
  data.fill(0x5A);
  EXPECT_TRUE(map_.WriteExtendedData(2, data));
  EXPECT_FALSE(map_.WriteExtendedData(4, data));
  EXPECT_FALSE(map_.WriteExtendedData(-1, data));
  EXPECT_THAT(tap_.WrittenAddresses(), ElementsAre(0x1C00));
  EXPECT_EQ(ReadBack(0x1CFF, 1)[0], 0x5A);
}

TEST_F(RegisterMapTest, MeasuredBaudIsReadLowByteFirst) {
  const std::uint8_t measured[2] = {0x80, 0x25};
  ASSERT_EQ(link_.MemoryWrite(0x0417, 2, measured), 1);
  std::uint16_t baud = 0;
  ASSERT_TRUE(map_.ReadMeasuredBaud(baud));
  EXPECT_EQ(baud, 9600);
}

TEST_F(RegisterMapTest, FlashBlockIsPaddedTo256BytesOfErasedFlash) {
  ASSERT_EQ(link_.FrashErase(0xD0000), 1);
  const Bytes text{'V', 'e', 'r'};
  ASSERT_TRUE(map_.FlashWriteBlock(0xD0000, text));
  Bytes flash(260);
  ASSERT_EQ(link_.MemoryReadEx(0xD0000, 260, flash.data()), 1);
  EXPECT_THAT(Bytes(flash.begin(), flash.begin() + 4), ElementsAre('V', 'e', 'r', 0xFF));

  const Bytes tooLong(257, 0x00);
  ASSERT_FALSE(map_.FlashWriteBlock(0xD0100, tooLong));
  ASSERT_EQ(link_.MemoryReadEx(0xD0000, 260, flash.data()), 1);
  EXPECT_EQ(flash[256], 0xFF);
}

}  // namespace
}  // namespace orvane::analyzer
