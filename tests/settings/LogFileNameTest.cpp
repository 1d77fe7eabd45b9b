#include <gtest/gtest.h>

#include "settings/LogFileName.h"

namespace orvane::settings {
namespace {

TEST(LogFileName, WithoutNumbering) {
  EXPECT_EQ(FormLogFileName("/logs/trace.log", false, "001"), "/logs/trace.log");
  EXPECT_EQ(FormLogFileName("/logs/trace", false, "001"), "/logs/trace.log");
  EXPECT_EQ(FormLogFileName("/logs/trace.csv", false, "001"), "/logs/trace.csv");
  EXPECT_EQ(FormLogFileName("/logs/trace_004.log", false, "001"), "/logs/trace_004.log");
}

TEST(LogFileName, NumberingAppendsOrReplacesTheSuffix) {
  EXPECT_EQ(FormLogFileName("/logs/trace.log", true, "042"), "/logs/trace_042.log");
  EXPECT_EQ(FormLogFileName("/logs/trace_007.log", true, "008"), "/logs/trace_008.log");
  EXPECT_EQ(FormLogFileName("/logs/trace_007", true, "008"), "/logs/trace_008.log");
  EXPECT_EQ(FormLogFileName("/logs/x_12.log", true, "003"), "/logs/x_12_003.log");
  EXPECT_EQ(FormLogFileName("/logs/x_1234.log", true, "003"), "/logs/x_1234_003.log");
  EXPECT_EQ(FormLogFileName("/logs/a.b.csv", true, "001"), "/logs/a.b_001.csv");
  EXPECT_EQ(FormLogFileName("", true, "000"), "_000.log");
  EXPECT_EQ(FormLogFileName("", false, "000"), "");
  EXPECT_EQ(FormLogFileName("_123", true, "124"), "_124.log");
}

TEST(LogFileName, ADotInAFolderNameIsNoExtension) {
  EXPECT_EQ(FormLogFileName("/home/run.v2/trace", true, "001"), "/home/run.v2/trace_001.log");
  EXPECT_EQ(FormLogFileName("/home/run.v2/trace", false, "001"), "/home/run.v2/trace.log");
}

TEST(LogFileName, NumberAdvancesAndWraps) {
  EXPECT_EQ(AdvanceLogNumber("000"), "001");
  EXPECT_EQ(AdvanceLogNumber("009"), "010");
  EXPECT_EQ(AdvanceLogNumber("998"), "999");
  EXPECT_EQ(AdvanceLogNumber("999"), "000");
  EXPECT_EQ(AdvanceLogNumber("5000"), "000");
  EXPECT_EQ(AdvanceLogNumber("abc"), "001");
  EXPECT_EQ(AdvanceLogNumber(""), "001");
}

}  // namespace
}  // namespace orvane::settings
