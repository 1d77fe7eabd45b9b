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

}  // namespace
}  // namespace orvane::monitor
