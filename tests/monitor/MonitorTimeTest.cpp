#include "monitor/MonitorTime.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace orvane::monitor {
namespace {

std::string Format(std::int32_t milliseconds) {
  MonitorTimeText text;
  return std::string(FormatMonitorTime(milliseconds, text));
}

TEST(FormatMonitorTime, PositiveNegativeAndLongTimes) {
  EXPECT_EQ(Format(3723004), " 01:02:03.004     ");
  EXPECT_EQ(Format(0), " 00:00:00.000     ");
  EXPECT_EQ(Format(-1000), " -00:00:01.000     ");
  EXPECT_EQ(Format(90000000), " 25:00:00.000     ") << "hours are not limited to 24";
  EXPECT_EQ(Format(std::numeric_limits<std::int32_t>::max()), " 596:31:23.647     ");
}

TEST(FormatMonitorTime, SmallestTimeIsFormattedFromItsTrueMagnitude) {
  EXPECT_EQ(Format(std::numeric_limits<std::int32_t>::min()), " -596:31:23.648     ");
}

TEST(FormatMonitorTime, TextIsTerminatedAndReplacesThePreviousOne) {
  MonitorTimeText text;
  FormatMonitorTime(std::numeric_limits<std::int32_t>::min(), text);
  FormatMonitorTime(1, text);
  EXPECT_STREQ(text.CString(), " 00:00:00.001     ");
}

TEST(FormatMonitorTimeTrimmed, DropsThePaddingOnBothSides) {
  MonitorTimeText text;
  EXPECT_EQ(FormatMonitorTimeTrimmed(1234, text), "00:00:01.234");
  EXPECT_EQ(FormatMonitorTimeTrimmed(-1000, text), "-00:00:01.000");
  EXPECT_EQ(FormatMonitorTimeTrimmed(std::numeric_limits<std::int32_t>::min(), text),
            "-596:31:23.648");
}

TEST(AnalyzerTimeStep, IsTheSignedStepModuloTheWrap) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  EXPECT_EQ(AnalyzerTimeStep(100, 250), 150);
  EXPECT_EQ(AnalyzerTimeStep(250, 100), -150);
  EXPECT_EQ(AnalyzerTimeStep(kMax, kMin), 1);
  EXPECT_EQ(AnalyzerTimeStep(kMin, kMax), -1);
  EXPECT_EQ(AnalyzerTimeStep(kMax - 4, kMin + 5), 10);
}

TEST(FollowedTime, StartsAtTheFirstTimeAndKeepsRisingAcrossTheWrap) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  FollowedTime followed;
  EXPECT_EQ(followed.Follow(kMax - 1), std::int64_t{kMax} - 1);
  EXPECT_EQ(followed.Follow(kMin), std::int64_t{kMax} + 1);
  EXPECT_EQ(followed.Follow(kMin + 9), std::int64_t{kMax} + 10);
  EXPECT_EQ(followed.Follow(kMin + 4), std::int64_t{kMax} + 5) << "a step back stays a step back";
  EXPECT_EQ(followed.Follow(kMax), std::int64_t{kMax}) << "5 ms back across the wrap";
}

}  // namespace
}  // namespace orvane::monitor
