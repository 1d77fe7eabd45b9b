// Comment removal, tokens and section finding.
#include <gtest/gtest.h>

#include "signals/LdfComments.h"
#include "signals/LdfScanner.h"

namespace orvane::signals {
namespace {

TEST(LdfComments, DropsCommentsButNotQuotedTextOrLoneSlashes) {
  EXPECT_EQ(RemoveComments("a /* x\n y */b // z\r\nc"), "a b \r\nc");
  EXPECT_EQ(RemoveComments("\"/* kept */ // kept\" d"), "\"/* kept */ // kept\" d");
  EXPECT_EQ(RemoveComments("km/h 1/2"), "km/h 1/2");
  EXPECT_EQ(RemoveComments("a /* open to the end"), "a ");
  EXPECT_EQ(RemoveComments("a // last line"), "a ");
  EXPECT_EQ(RemoveComments("\"open quote /* */"), "\"open quote /* */");
  EXPECT_EQ(RemoveComments("/**/x/*/ y */z"), "xz");
}

TEST(LdfScanner, Integers) {
  LdfScanner scanner(" 42 -7 0x3F 0XfF 12345678901 123456789012 - 0x");
  EXPECT_EQ(scanner.Integer(), 42);
  EXPECT_EQ(scanner.Integer(), -7);
  EXPECT_EQ(scanner.Integer(), 0x3F);
  EXPECT_EQ(scanner.Integer(), 0xFF);
  EXPECT_EQ(scanner.Integer(), 12345678901);
  // At most 11 characters: the twelfth digit is left for the next read.
  EXPECT_EQ(scanner.Integer(), 12345678901);
  EXPECT_EQ(scanner.Integer(), 2);
  EXPECT_EQ(scanner.Integer(), std::nullopt);
  EXPECT_TRUE(scanner.Keyword("-"));
  EXPECT_EQ(scanner.Integer(), std::nullopt);
}

TEST(LdfScanner, Reals) {
  LdfScanner scanner("19.2 -40 5. .25 0x10 5.6e-04 7E+2 1e");
  EXPECT_DOUBLE_EQ(scanner.Real()->value, 19.2);
  EXPECT_DOUBLE_EQ(scanner.Real()->value, -40);
  EXPECT_DOUBLE_EQ(scanner.Real()->value, 5);
  EXPECT_DOUBLE_EQ(scanner.Real()->value, 0.25);
  EXPECT_DOUBLE_EQ(scanner.Real()->value, 16);
  const auto exponent = scanner.Real();
  ASSERT_TRUE(exponent);
  EXPECT_TRUE(exponent->hasExponent);
  EXPECT_DOUBLE_EQ(exponent->value, 5.6e-4);
  EXPECT_TRUE(scanner.Real()->hasExponent);
  // "1e" without exponent digits is the real 1 followed by an "e".
  const auto plain = scanner.Real();
  EXPECT_FALSE(plain->hasExponent);
  EXPECT_TRUE(scanner.Keyword("e"));

  const std::string digits239(239, '9');
  const std::string twoReals = digits239 + " " + digits239 + "9";
  LdfScanner longest(twoReals);
  EXPECT_TRUE(longest.Real());
  EXPECT_FALSE(longest.Real());
}

TEST(LdfScanner, IdentifiersQuotedTextAndUnits) {
  LdfScanner scanner("\r\n\tSignal_1x: _x \"a b\" \"\" \"tab\there\" ");
  EXPECT_EQ(scanner.Identifier(), "Signal_1x");
  EXPECT_TRUE(scanner.Keyword(":"));
  EXPECT_EQ(scanner.Identifier(), std::nullopt);  // starts with "_"
  EXPECT_TRUE(scanner.Keyword("_x"));
  EXPECT_EQ(scanner.Quoted(), "a b");
  EXPECT_EQ(scanner.Quoted(), "");
  EXPECT_EQ(scanner.Quoted(), std::nullopt);  // a tab is not printable

  LdfScanner units("5 \t ms 6\nms");
  EXPECT_TRUE(units.Real());
  EXPECT_TRUE(units.Unit("ms"));
  EXPECT_TRUE(units.Real());
  EXPECT_FALSE(units.Unit("ms"));

  LdfScanner degree("\"\xB0" "C\"");
  EXPECT_EQ(degree.Quoted(), "\xB0" "C");
}

TEST(LdfScanner, FindsSectionsAtDepthZeroOutsideQuotes) {
  LdfScanner scanner("X { Nodes { } } Y = \"Nodes\"; Nodes {");
  EXPECT_TRUE(scanner.FindSection("Nodes"));
  EXPECT_TRUE(scanner.Keyword("{"));
  const std::size_t inside = scanner.position();
  EXPECT_FALSE(scanner.FindSection("Frames"));
  EXPECT_EQ(scanner.position(), inside);

  // A "}" closing below depth 0 stops the search and keeps the position.
  LdfScanner closing("} Frames");
  EXPECT_FALSE(closing.FindSection("Frames"));
  EXPECT_EQ(closing.position(), 0u);
  LdfScanner unterminated("\"open Frames");
  EXPECT_FALSE(unterminated.FindSection("Frames"));
  // The keyword is tried at every position, also inside a longer word.
  LdfScanner word("MyFramesList");
  EXPECT_TRUE(word.FindSection("Frames"));
  EXPECT_TRUE(word.Keyword("List"));
}

}  // namespace
}  // namespace orvane::signals
