// Raw values from frame data, the Encode texts, and the monitor rows.
#include "signals/SignalDecode.h"

#include <gtest/gtest.h>

#include <array>

#include "signals/LdfParser.h"
#include "signals/SignalMonitorModel.h"
#include "tests/signals/LdfTestFiles.h"

namespace orvane::signals {
namespace {

using Data = std::array<std::uint8_t, kDataBytes>;

Encoding Physical(double scale, std::string text) {
  return {"P", 16, {{ValueKind::kPhysical, 0, 65535, scale, 0, std::move(text)}}};
}

TEST(SignalDecode, ExtractsLsbFirstAndCutsToSixteenBits) {
  const Data data{0xA5, 0x3C, 0x0F, 0x00, 0x00, 0x00, 0x00, 0x81};
  EXPECT_EQ(ExtractRawValue(data, 0, 8), 0xA5);
  EXPECT_EQ(ExtractRawValue(data, 4, 8), 0xCA);  // high nibble of D0, low nibble of D1
  EXPECT_EQ(ExtractRawValue(data, 1, 3), 0x2);
  // A 20-bit signal shows its lowest 16 bits.
  EXPECT_EQ(ExtractRawValue(data, 0, 20), 0x3CA5);
  // Bits past the 64 data bits read as 0.
  EXPECT_EQ(ExtractRawValue(data, 56, 16), 0x81);
  EXPECT_EQ(ExtractRawValue(data, 63, 2), 0x1);
  EXPECT_EQ(ExtractRawValue(data, 0xFFFFFFFF, 16), 0);
}

TEST(SignalDecode, PhysicalValuesUseSevenDecimalsWithoutTrailingZeros) {
  EXPECT_EQ(EncodeText(Physical(0.5, "km/h"), 15, 16), "7.5 (km/h)");
  EXPECT_EQ(EncodeText(Physical(0.5, ""), 15, 16), "7.5 ()");
  EXPECT_EQ(EncodeText(Physical(2, "V"), 50, 16), "100 (V)");
  EXPECT_EQ(FormatPhysicalValue(-40.0), "-40");
  EXPECT_EQ(FormatPhysicalValue(0.008 * 3 + 250), "250.024");
  EXPECT_EQ(FormatPhysicalValue(1.0 / 3), "0.3333333");
  EXPECT_EQ(FormatPhysicalValue(0.00000004), "0");
  EXPECT_EQ(FormatPhysicalValue(1e20), "100000000000000000000");
}

TEST(SignalDecode, LogicalBcdAndAsciiTexts) {
  const Encoding logical{"L", 2, {{ValueKind::kLogical, 0, 0, 0, 0, "off"},
                                  {ValueKind::kPhysical, 1, 2, 1, 10, "lux"},
                                  {ValueKind::kLogical, 3, 3, 0, 0, ""}}};
  EXPECT_EQ(EncodeText(logical, 0, 2), "off");
  EXPECT_EQ(EncodeText(logical, 2, 2), "12 (lux)");
  EXPECT_EQ(EncodeText(logical, 3, 2), "");
  // A raw value that no entry covers leaves the text empty.
  const Encoding partial{"L", 2, {{ValueKind::kLogical, 0, 0, 0, 0, "off"}}};
  EXPECT_EQ(EncodeText(partial, 1, 2), "");

  const Encoding bcd{"B", 4, {{ValueKind::kBcd, 0, 0, 0, 0, ""}}};
  EXPECT_EQ(EncodeText(bcd, 0x0123, 16), "123");
  EXPECT_EQ(EncodeText(bcd, 0, 16), "0");
  EXPECT_EQ(EncodeText(bcd, 0x9A, 8), "9a");

  const Encoding ascii{"A", 8, {{ValueKind::kAscii, 0, 0, 0, 0, ""}}};
  EXPECT_EQ(EncodeText(ascii, 0x4142, 16), "BA");
  EXPECT_EQ(EncodeText(ascii, 0x4142, 8), "B");
  EXPECT_EQ(EncodeText(ascii, 0x4142, 24), "BA");  // at most 16 bits: two bytes
  EXPECT_EQ(EncodeText(ascii, 0x1F80, 16), "..");
}

TEST(SignalDecode, ValuesAboveSixteenBitsNeverMatchByWrapping) {
  // 65536 kept as 65536, not cut to 0.
  const Encoding encoding{"W", 17, {{ValueKind::kLogical, 65536, 65536, 0, 0, "big"},
                                    {ValueKind::kPhysical, 0, 131071, 1, 0, "raw"}}};
  EXPECT_EQ(EncodeText(encoding, 0, 16), "0 (raw)");
}

class SignalRows : public ::testing::Test {
 protected:
  void SetUp() override {
    outcome_ = ParseLinDescription(testing::kBaseLdf, kDefaultSectionMask);
    ASSERT_NE(outcome_.description, nullptr);
  }
  const LinDescription& description() const { return *outcome_.description; }

  ParseOutcome outcome_;
  std::array<std::uint8_t, kSelectionBytes> bytes_{};
  SignalSelection selection_{bytes_};
};

TEST_F(SignalRows, FollowTheSortOrderAndTheSelection) {
  // Frames: 0 MFrame (0x10), 1 S1Frame (3), 2 S2Frame (0x25: s2a, s2b).
  selection_.SelectEntry(0, 0, true);
  selection_.SelectEntry(1, 0, true);
  selection_.SelectEntry(2, 1, true);
  EXPECT_EQ(BuildSignalRows(description(), SortOrder::kById, selection_),
            (std::vector<SignalRow>{{1, 0}, {0, 0}, {2, 1}}));
  EXPECT_EQ(BuildSignalRows(description(), SortOrder::kByNode, selection_),
            (std::vector<SignalRow>{{0, 0}, {1, 0}, {2, 1}}));
  selection_.SelectEntry(1, 0, false);
  EXPECT_EQ(BuildSignalRows(description(), SortOrder::kById, selection_).size(), 2u);
}

TEST_F(SignalRows, ShowTheInitialValueUntilAFrameArrives) {
  const Data none{};
  // s2a: 16 bits, initial 0x1234, physical 0.5 km/h.
  const SignalRowText initial = FillSignalRow(description(), {2, 0}, none, 0);
  EXPECT_EQ(initial.name, "s2a");
  EXPECT_EQ(initial.value, "4660");
  EXPECT_EQ(initial.encode, "2330 (km/h)");
  EXPECT_EQ(initial.count, "0");

  const Data frame{0x0F, 0x00, 0x02, 0, 0, 0, 0, 0};
  const SignalRowText received = FillSignalRow(description(), {2, 0}, frame, 7);
  EXPECT_EQ(received.value, "15");
  EXPECT_EQ(received.encode, "7.5 (km/h)");
  EXPECT_EQ(received.count, "7");
  EXPECT_EQ(FillSignalRow(description(), {2, 1}, frame, 7).encode, "err");  // s2b = 2

  // m8 has no encoding.
  const SignalRowText plain = FillSignalRow(description(), {0, 0}, Data{0, 0xFE}, 4294967295u);
  EXPECT_EQ(plain.value, "254");
  EXPECT_EQ(plain.encode, "");
  EXPECT_EQ(plain.count, "4294967295");

  EXPECT_EQ(FillSignalRow(description(), {3, 0}, frame, 1).name, "");
  EXPECT_EQ(FillSignalRow(description(), {1, 1}, frame, 1).name, "");
}

TEST(SignalRowValue, InitialValuesAreCutToSixteenBits) {
  Signal wide{"w", 32, 0x12345678, kMasterNode, {0}, kNoEncoding};
  EXPECT_EQ(RowRawValue(wide, 0, Data{}, 0), 0x5678);
}

}  // namespace
}  // namespace orvane::signals
