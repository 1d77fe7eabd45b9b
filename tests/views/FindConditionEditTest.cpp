// What the Find window's fields accept, the bit buttons' cycle, and which
// fields a condition offers.
#include <gtest/gtest.h>

#include "settings/FindCondition.h"
#include "views/FindConditionEdit.h"

namespace orvane::views {
namespace {

using std::nullopt;

TEST(FindConditionEditTest, IdentifierIsOneOrTwoHexDigitsUpTo3F) {
  EXPECT_EQ(ParseFindIdentifier("0"), std::optional<std::uint8_t>(0x00));
  EXPECT_EQ(ParseFindIdentifier("3f"), std::optional<std::uint8_t>(0x3F));
  EXPECT_EQ(ParseFindIdentifier("3F"), std::optional<std::uint8_t>(0x3F));
  for (const char* text : {"", "40", "ff", "003", "-1", "+1", " 1", "1 ", "0x", "g"}) {
    EXPECT_EQ(ParseFindIdentifier(text), nullopt) << text;
  }
}

TEST(FindConditionEditTest, BytePatternIsAWildcardOrAByteAsTwoLowerCaseDigits) {
  EXPECT_EQ(ParseFindBytePattern("*"), std::optional<std::string>("*"));
  EXPECT_EQ(ParseFindBytePattern("**"), std::optional<std::string>("**"));
  EXPECT_EQ(ParseFindBytePattern("7"), std::optional<std::string>("07"));
  EXPECT_EQ(ParseFindBytePattern("aB"), std::optional<std::string>("ab"));
  EXPECT_EQ(ParseFindBytePattern("FF"), std::optional<std::string>("ff"));
  for (const char* text : {"", "***", "*1", "100", "1G", "-1"}) {
    EXPECT_EQ(ParseFindBytePattern(text), nullopt) << text;
  }
}

TEST(FindConditionEditTest, BitPatternTakesSmallEdgeLettersAsCapitals) {
  for (const char pattern : std::string_view("*01UDC")) {
    EXPECT_EQ(ParseFindBitPattern(std::string(1, pattern)), std::optional<char>(pattern));
  }
  EXPECT_EQ(ParseFindBitPattern("u"), std::optional<char>('U'));
  EXPECT_EQ(ParseFindBitPattern("d"), std::optional<char>('D'));
  EXPECT_EQ(ParseFindBitPattern("c"), std::optional<char>('C'));
  for (const char* text : {"", "2", "x", "**", "01"}) {
    EXPECT_EQ(ParseFindBitPattern(text), nullopt) << text;
  }
}

TEST(FindConditionEditTest, BitButtonCyclesAndTakesADamagedCharacterAsAny) {
  std::string cycle;
  char pattern = '*';
  for (int click = 0; click < 6; ++click) cycle += pattern = NextFindBitPattern(pattern);
  EXPECT_EQ(cycle, "01UDC*");
  EXPECT_EQ(NextFindBitPattern('u'), 'D');
  EXPECT_EQ(NextFindBitPattern('\0'), '0');
  EXPECT_EQ(NextFindBitPattern('x'), '0');
}

TEST(FindConditionEditTest, DataFieldsOnlyForAFrameWithDataCompareInItsModeAndLength) {
  settings::FindCondition condition = settings::DefaultFindCondition();
  FindFieldsOffered offered = FieldsOfferedFor(condition, 8);
  EXPECT_FALSE(offered.ioEvent || offered.identifier || offered.dataCompare);
  EXPECT_EQ(offered.byteFields + offered.bitFields, 0);

  condition.kind = settings::kFindIoEvent;
  offered = FieldsOfferedFor(condition, 8);
  EXPECT_TRUE(offered.ioEvent);
  EXPECT_FALSE(offered.identifier);

  condition.kind = settings::kFindFrame;
  offered = FieldsOfferedFor(condition, 8);
  EXPECT_TRUE(offered.identifier && offered.dataCompare);
  EXPECT_FALSE(offered.compareMode);
  EXPECT_EQ(offered.byteFields, 0);

  condition.dataCompare = 1;
  offered = FieldsOfferedFor(condition, 2);
  EXPECT_TRUE(offered.compareMode);
  EXPECT_EQ(offered.byteFields, 2);
  EXPECT_EQ(offered.bitFields, 0);

  condition.compareMode = 1;
  EXPECT_EQ(FieldsOfferedFor(condition, 0).bitFields, 0);
  EXPECT_EQ(FieldsOfferedFor(condition, 12).bitFields, 8);
  // A mode from a damaged configuration offers neither.
  condition.compareMode = 7;
  offered = FieldsOfferedFor(condition, 8);
  EXPECT_EQ(offered.byteFields + offered.bitFields, 0);
}

}  // namespace
}  // namespace orvane::views
