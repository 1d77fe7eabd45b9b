// One pattern line: the checks of both variants and the simulations' parser.
#include <gtest/gtest.h>

#include <string>

#include "pattern/HexScan.h"
#include "pattern/PatternCheck.h"
#include "pattern/PatternRecord.h"

namespace orvane::pattern {
namespace {

using Variant = PatternCheckVariant;

struct LineCase {
  std::string line;
  bool select;
  bool editor;
  bool parses;
};

class PatternLineCases : public ::testing::TestWithParam<LineCase> {};

TEST_P(PatternLineCases, ChecksAndParserAgreeWithTheFormatRules) {
  const LineCase& c = GetParam();
  EXPECT_EQ(CheckPatternLine(c.line, Variant::kSelect), c.select);
  EXPECT_EQ(CheckPatternLine(c.line, Variant::kEditor), c.editor);
  EXPECT_EQ(ParsePatternLine(c.line).ok, c.parses);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, PatternLineCases,
    ::testing::Values(
        LineCase{"Tx,3c,01,02\n", true, true, true},
        // Checks want the exact word; the parser also takes the small spelling.
        LineCase{"TX,3c\n", false, false, false}, LineCase{"tx,3c\n", false, false, true},
        LineCase{"Sleep\n", true, false, true}, LineCase{"Wakeup,00\n", true, true, true},
        LineCase{"Rx,40\n", true, false, false}, LineCase{"Rx,3F\n", true, true, true},
        LineCase{"\n", false, false, false},
        LineCase{"Tx,3c,01,02,03,04,05,06,07,08,09\n", false, false, true},
        LineCase{"Tx,3c,01,02,03,04,05,06,07,08\n", true, true, true},
        LineCase{"Tx,,01\n", false, false, false}, LineCase{"Tx,3c,\n", false, false, false},
        LineCase{"Tx,3c,zz\n", false, false, false},
        // A field only has to begin with a number, as "%x" reads it.
        LineCase{"Tx,3c,01junk\n", true, true, true}, LineCase{"Tx,0x3c, 7\n", true, true, true},
        LineCase{"Tx, -1\n", true, false, false},
        // The last line of a file may lack its line feed; its last field still counts.
        LineCase{"Tx,3c,zz", false, false, false}, LineCase{"Tx,3c", true, true, true}));

TEST(ParsePatternLine, FillsTheTenByteRecord) {
  const ParsedPatternLine parsed = ParsePatternLine("Tx,3c,01,02\n");
  ASSERT_TRUE(parsed.ok);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&parsed.record);
  const std::uint8_t expected[10] = {0x12, 0x3C, 0x01, 0x02, 0, 0, 0, 0, 0, 0};
  EXPECT_TRUE(std::equal(bytes, bytes + 10, expected));
}

TEST(ParsePatternLine, CommandCodesAndPrefixWords) {
  EXPECT_EQ(ParsePatternLine("Rx,10").record.commandCode(), 2);
  EXPECT_EQ(ParsePatternLine("rx,10").record.commandCode(), 2);
  EXPECT_EQ(ParsePatternLine("sleep,3c").record.commandCode(), 3);
  EXPECT_EQ(ParsePatternLine("Wakeup").record.commandCode(), 4);
  // Only the first letters are compared.
  const ParsedPatternLine longer = ParsePatternLine("Txyz,05");
  EXPECT_TRUE(longer.ok);
  EXPECT_EQ(longer.record.commandCode(), 1);
  EXPECT_FALSE(ParsePatternLine("Wake,05").ok);
  EXPECT_FALSE(ParsePatternLine("rX,05").ok);
}

TEST(ParsePatternLine, KeepsTheLowByteOfDataAndIgnoresFieldsAfterD7) {
  const ParsedPatternLine parsed = ParsePatternLine("Rx,01,1ff,100,2,3,4,5,6,7,zz,yy\n");
  ASSERT_TRUE(parsed.ok);
  EXPECT_EQ(parsed.record.dataCount(), 8);
  EXPECT_EQ(parsed.record.data, (std::array<std::uint8_t, 8>{0xFF, 0x00, 2, 3, 4, 5, 6, 7}));
}

TEST(ParsePatternLine, StopsAtTheLineFeedAndAfterSixtyFourCharacters) {
  EXPECT_EQ(ParsePatternLine("Tx,01,aa\nbb,cc").record.dataCount(), 1);
  // Only 64 characters are looked at: the 65th digit never joins D1.
  const std::string line = "Tx,01,02," + std::string(54, '0') + "34";
  ASSERT_EQ(line.size(), 65u);
  const ParsedPatternLine parsed = ParsePatternLine(line);
  EXPECT_TRUE(parsed.ok);
  EXPECT_EQ(parsed.record.dataCount(), 2);
  EXPECT_EQ(parsed.record.data[1], 0x03);
}

TEST(ParsePatternLine, AFailureKeepsWhatWasParsedBefore) {
  const ParsedPatternLine parsed = ParsePatternLine("Tx,21,0a,??,0b\n");
  EXPECT_FALSE(parsed.ok);
  EXPECT_EQ(parsed.record.commandCode(), 1);
  EXPECT_EQ(parsed.record.ident, 0x21);
  EXPECT_EQ(parsed.record.dataCount(), 1);
  EXPECT_EQ(parsed.record.data[0], 0x0A);
  EXPECT_EQ(parsed.record.data[1], 0x00);
}

TEST(ScanHex, ReadsWhatPercentXReads) {
  EXPECT_EQ(ScanHex("3c"), 0x3Cu);
  EXPECT_EQ(ScanHex("  3C,"), 0x3Cu);
  EXPECT_EQ(ScanHex("0x1f"), 0x1Fu);
  EXPECT_EQ(ScanHex("0xg"), 0u);
  EXPECT_EQ(ScanHex("+a"), 0xAu);
  EXPECT_EQ(ScanHex("-1"), 0xFFFFFFFFu);
  EXPECT_EQ(ScanHex("ffffffff"), 0xFFFFFFFFu);
  // Too wide for 32 bits: it must not wrap round to a small identifier.
  EXPECT_EQ(ScanHex("10000003c"), 0xFFFFFFFFu);
  EXPECT_EQ(ScanHex(""), std::nullopt);
  EXPECT_EQ(ScanHex("  "), std::nullopt);
  EXPECT_EQ(ScanHex("-"), std::nullopt);
  EXPECT_EQ(ScanHex("x1"), std::nullopt);
}

}  // namespace
}  // namespace orvane::pattern
