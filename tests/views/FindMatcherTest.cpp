// The Find window's matcher: the three condition kinds, byte and bit
// compare, the edge bits U/D/C and priming.
#include <gtest/gtest.h>

#include <cstring>

#include "settings/FindCondition.h"
#include "settings/FixedText.h"
#include "tests/views/Records.h"
#include "views/FindMatcher.h"

namespace orvane::views {
namespace {

using settings::FindCondition;
using testing::EndFrame;
using testing::Record;

FindCondition FrameFind(std::uint8_t ident) {
  FindCondition condition = settings::DefaultFindCondition();
  condition.kind = settings::kFindFrame;
  condition.identifier = ident;
  return condition;
}

FindCondition BitFind(std::uint8_t ident, std::initializer_list<const char*> bits) {
  FindCondition condition = FrameFind(ident);
  condition.dataCompare = 1;
  condition.compareMode = 1;
  std::size_t byte = 0;
  for (const char* pattern : bits) std::memcpy(condition.bitPatterns[byte++], pattern, 8);
  return condition;
}

TEST(FindMatcher, IoEventAndErrorKinds) {
  FindCondition io = settings::DefaultFindCondition();
  io.kind = settings::kFindIoEvent;
  io.ioEventNumber = 5;
  FindMatcher ioMatcher(io, 2);
  EXPECT_TRUE(ioMatcher.Matches(Record(15, 0), false));
  EXPECT_FALSE(ioMatcher.Matches(Record(14, 0), false));

  FindMatcher errors(settings::DefaultFindCondition(), 2);
  EXPECT_TRUE(errors.Matches(Record(monitor::kKindError, 0x12), false));
  EXPECT_TRUE(errors.Matches(Record(monitor::kKindSimulationError, 0x12), false));
  EXPECT_TRUE(errors.Matches(Record(0x34, 0x12), false));
  EXPECT_FALSE(errors.Matches(EndFrame(0x12, {}), false));
}

TEST(FindMatcher, FrameCandidatesWithoutDataCompare) {
  FindMatcher matcher(FrameFind(0x21), 4);
  EXPECT_TRUE(matcher.Matches(EndFrame(0x21, {}), false));
  EXPECT_TRUE(matcher.Matches(EndFrame(0xE1, {}), false));
  EXPECT_TRUE(matcher.Matches(Record(monitor::kKindSleep, 0x21), false));
  monitor::MonitorRecord extended = Record(monitor::kKindEnd | 0x80, 0x21);
  extended.flags = 3;
  EXPECT_TRUE(matcher.Matches(extended, false));
  EXPECT_FALSE(matcher.Matches(Record(monitor::kKindRequest, 0x21), false));
  EXPECT_FALSE(matcher.Matches(EndFrame(0x22, {}), false));
}

TEST(FindMatcher, ByteModeComparesTheDefinedBytes) {
  FindCondition condition = FrameFind(0x05);
  condition.dataCompare = 1;
  settings::CopyToField("3c", condition.bytePatterns[0]);
  settings::CopyToField("**", condition.bytePatterns[1]);
  settings::CopyToField("FF", condition.bytePatterns[2]);
  FindMatcher two(condition, 2);
  EXPECT_TRUE(two.Matches(EndFrame(0x05, {0x3C, 0x99, 0x00}), false));
  EXPECT_FALSE(two.Matches(EndFrame(0x05, {0x3D, 0x99, 0xFF}), false));
  FindMatcher three(condition, 3);
  EXPECT_FALSE(three.Matches(EndFrame(0x05, {0x3C, 0x99, 0x00}), false));
  EXPECT_TRUE(three.Matches(EndFrame(0x05, {0x3C, 0x99, 0xFF}), false));
  // A pattern that is neither a wildcard nor a number equals no byte.
  settings::CopyToField("", condition.bytePatterns[0]);
  EXPECT_FALSE(FindMatcher(condition, 1).Matches(EndFrame(0x05, {0x00}), false));
}

TEST(FindMatcher, BitModeFixedBits) {
  FindMatcher matcher(BitFind(0x05, {"1******0"}), 1);
  EXPECT_TRUE(matcher.Matches(EndFrame(0x05, {0x01}), false));
  EXPECT_FALSE(matcher.Matches(EndFrame(0x05, {0x81}), false));
  EXPECT_FALSE(matcher.Matches(EndFrame(0x05, {0x00}), false));
}

TEST(FindMatcher, EdgeBitsCompareWithThePreviousFrameOfTheIdentifier) {
  // Bit 0 of D0 rising.
  FindMatcher rising(BitFind(0x05, {"U*******"}), 1);
  EXPECT_TRUE(rising.Matches(EndFrame(0x05, {0x01}), false));   // 0 -> 1 against zeros
  EXPECT_FALSE(rising.Matches(EndFrame(0x05, {0x01}), false));  // stays 1
  // Another identifier neither matches nor becomes the reference.
  EXPECT_FALSE(rising.Matches(EndFrame(0x06, {0x00}), false));
  EXPECT_FALSE(rising.Matches(EndFrame(0x05, {0x01}), false));
  EXPECT_FALSE(rising.Matches(EndFrame(0x05, {0x00}), false));  // falls
  EXPECT_TRUE(rising.Matches(EndFrame(0x05, {0x01}), false));   // rises again
  EXPECT_EQ(rising.previousData()[0], 0x01);

  FindMatcher falling(BitFind(0x05, {"*D******"}), 1);
  EXPECT_FALSE(falling.Matches(EndFrame(0x05, {0x02}), false));
  EXPECT_TRUE(falling.Matches(EndFrame(0x05, {0x00}), false));

  // D1 bit 7 changed, either way; D0's pattern has none.
  FindMatcher changed(BitFind(0x05, {"********", "*******C"}), 2);
  EXPECT_TRUE(changed.Matches(EndFrame(0x05, {0x00, 0x80}), false));
  EXPECT_TRUE(changed.Matches(EndFrame(0x05, {0x00, 0x00}), false));
  EXPECT_FALSE(changed.Matches(EndFrame(0x05, {0xFF, 0x7F}), false));
  // Lower-case letters count like capitals.
  FindMatcher small(BitFind(0x05, {"u*******"}), 1);
  EXPECT_TRUE(small.Matches(EndFrame(0x05, {0x01}), false));
}

TEST(FindMatcher, FixedBitsDecideBeforeEdges) {
  // D0 bit 1 must be 1, bit 0 rising.
  FindMatcher matcher(BitFind(0x05, {"U1******"}), 1);
  EXPECT_FALSE(matcher.Matches(EndFrame(0x05, {0x01}), false));  // rises, but bit 1 is 0
  EXPECT_FALSE(matcher.Matches(EndFrame(0x05, {0x02}), false));  // bit 1 ok, bit 0 fell
  EXPECT_TRUE(matcher.Matches(EndFrame(0x05, {0x03}), false));
}

TEST(FindMatcher, PrimingAnswersByFixedBitsAndLoadsThePreviousData) {
  FindMatcher matcher(BitFind(0x05, {"U*******"}), 1);
  EXPECT_TRUE(matcher.Matches(EndFrame(0x05, {0x01}), true));
  // Primed with the same frame: no edge against itself.
  EXPECT_FALSE(matcher.Matches(EndFrame(0x05, {0x01}), false));

  FindMatcher fixed(BitFind(0x05, {"U******1"}), 1);
  EXPECT_FALSE(fixed.Matches(EndFrame(0x05, {0x01}), true));
  EXPECT_EQ(fixed.previousData()[0], 0x01);
  // Data length 0: nothing to compare, every frame of the identifier matches.
  FindMatcher none(BitFind(0x05, {"0000000U"}), 0);
  EXPECT_TRUE(none.Matches(EndFrame(0x05, {0xFF}), false));
}

}  // namespace
}  // namespace orvane::views
