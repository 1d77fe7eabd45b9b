// Special frame conditions: which records they mark and which condition
// wins when several match.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "settings/FrameHighlightCondition.h"
#include "tests/views/Records.h"
#include "views/FrameHighlightMatch.h"

namespace orvane::views {
namespace {

using settings::FrameHighlightCondition;
using testing::EndFrame;
using testing::Record;

// A frame condition; `bits` gives the patterns of data bytes 0, 1, ... with
// character k for bit k.
FrameHighlightCondition FrameCondition(std::uint8_t ident,
                                     std::initializer_list<const char*> bits = {}) {
  FrameHighlightCondition condition = settings::DefaultFrameHighlightCondition();
  condition.enabled = 1;
  condition.identifier = ident;
  std::size_t byte = 0;
  for (const char* pattern : bits) std::memcpy(condition.bitPatterns + 8 * byte++, pattern, 8);
  return condition;
}

TEST(FrameHighlightMatch, AllStarMatchesEveryEndAndSleepFrameOfTheIdentifier) {
  const FrameHighlightCondition condition = FrameCondition(0x12);
  EXPECT_TRUE(Match(EndFrame(0x12, {1, 2}), condition, 2));
  EXPECT_TRUE(Match(Record(monitor::kKindSleep, 0x12), condition, 2));
  // The protected identifier's parity bits do not count.
  EXPECT_TRUE(Match(EndFrame(0xD2, {}), condition, 2));
  // A merged extended record keeps its kind in the low nibble.
  EXPECT_TRUE(Match(Record(0x81, 0x12), condition, 2));
  EXPECT_FALSE(Match(EndFrame(0x13, {}), condition, 2));
  EXPECT_FALSE(Match(Record(monitor::kKindRequest, 0x12), condition, 2));
  EXPECT_FALSE(Match(Record(monitor::kKindError, 0x12), condition, 2));
}

TEST(FrameHighlightMatch, BitPatternsOfTheDefinedBytesOnly) {
  // Byte 0: bit 0 must be 1 and bit 7 must be 0; byte 2 asks for bit 0 = 1.
  const FrameHighlightCondition condition =
      FrameCondition(0x20, {"1******0", "********", "1*******"});
  EXPECT_TRUE(Match(EndFrame(0x20, {0x01, 0xFF, 0x00}), condition, 2));
  EXPECT_TRUE(Match(EndFrame(0x20, {0x7F, 0x00, 0x00}), condition, 2));
  EXPECT_FALSE(Match(EndFrame(0x20, {0x00, 0x00, 0x00}), condition, 2));
  EXPECT_FALSE(Match(EndFrame(0x20, {0x81, 0x00, 0x00}), condition, 2));
  // With data length 3 the pattern of Data2 takes part.
  EXPECT_FALSE(Match(EndFrame(0x20, {0x01, 0x00, 0x00}), condition, 3));
  EXPECT_TRUE(Match(EndFrame(0x20, {0x01, 0x00, 0x01}), condition, 3));
  // Data length 0: no byte is compared.
  EXPECT_TRUE(Match(EndFrame(0x20, {0x00}), condition, 0));
}

TEST(FrameHighlightMatch, IoEventConditionsMatchTheirEventOnly) {
  FrameHighlightCondition condition = FrameCondition(0);
  condition.kind = settings::kIoEventCondition;
  condition.ioEventNumber = 2;
  EXPECT_TRUE(Match(Record(12, 0), condition, 2));
  EXPECT_FALSE(Match(Record(13, 0), condition, 2));
  EXPECT_FALSE(Match(EndFrame(0, {}), condition, 2));
  condition.ioEventNumber = 0xFFFFFFFE;  // never an event, however it wraps
  EXPECT_FALSE(Match(Record(8, 0), condition, 2));
}

TEST(FrameHighlightIndex, FirstEnabledMatchingConditionWins) {
  std::array<std::uint8_t, 64> dataLengths{};
  dataLengths.fill(2);
  settings::FrameHighlightConditions conditions{FrameCondition(0x10, {"1*******"}),
                                              FrameCondition(0x10), FrameCondition(0x10),
                                              FrameCondition(0x11)};
  EXPECT_EQ(FrameHighlightIndex(EndFrame(0x10, {0x01}), conditions, dataLengths), 0u);
  EXPECT_EQ(FrameHighlightIndex(EndFrame(0x10, {0x00}), conditions, dataLengths), 1u);
  conditions[1].enabled = 0;
  EXPECT_EQ(FrameHighlightIndex(EndFrame(0x10, {0x00}), conditions, dataLengths), 2u);
  EXPECT_EQ(FrameHighlightIndex(EndFrame(0x11, {}), conditions, dataLengths), 3u);
  EXPECT_EQ(FrameHighlightIndex(EndFrame(0x12, {}), conditions, dataLengths), std::nullopt);
  // The data length is that of the condition's identifier.
  dataLengths[0x10] = 0;
  EXPECT_EQ(FrameHighlightIndex(EndFrame(0x10, {0x00}), conditions, dataLengths), 0u);
}

}  // namespace
}  // namespace orvane::views
