#include "simulation/PatternApply.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <string_view>

#include "pattern/PatternRecord.h"
#include "tests/simulation/SimulationTestSupport.h"

namespace orvane::simulation {
namespace {

using testing::Bytes;
using ::testing::ElementsAre;

PatternRows Rows(std::initializer_list<std::string_view> lines) {
  PatternRows rows;
  for (std::string_view line : lines) {
    const pattern::ParsedPatternLine parsed = pattern::ParsePatternLine(line);
    EXPECT_TRUE(parsed.ok) << line;
    rows.push_back(parsed.record);
  }
  return rows;
}

SimEntry Entry(std::uint8_t kind, std::uint8_t identifier) {
  SimEntry entry{};
  entry.enable = 1;
  entry.kind = kind;
  entry.identifier = identifier;
  std::ranges::fill(entry.data, 0xEE);
  entry.delay = 0x0105;
  return entry;
}

class PatternApplyTest : public ::testing::Test {
 protected:
  bool Apply(SimEntry& entry, RowCursor& cursor, bool repeat, const PatternRows& rows) {
    return ApplyNextRow(entry, cursor, repeat, rows, settings_.rules(), endReached_);
  }
  bool ApplySlave(SimEntry& entry, RowCursor& cursor, bool repeat, const PatternRows& rows) {
    return ApplySlaveRow(entry, cursor, repeat, rows, settings_.rules());
  }

  testing::RuleSettings settings_;
  bool endReached_ = false;
};

TEST_F(PatternApplyTest, RowReplacesCommandIdentifierAndDataAndMarksTheEntryChanged) {
  const PatternRows rows = Rows({"Rx,30,1,2,3,4,5,6,7,8", "Sleep,3c,11,12,13,14,15,16,17,18",
                                 "Wakeup,05,0a,0b", "Tx,10,21,22"});
  SimEntry entry = Entry(0x72, 0x10);  // CheckSum error: its code stays in the low nibble
  RowCursor cursor;
  ASSERT_TRUE(Apply(entry, cursor, true, rows));
  EXPECT_THAT(Bytes(entry),
              ElementsAre(0x81, 0x00, 0x02, 0x30, 1, 2, 3, 4, 5, 6, 7, 8, 0x05, 0x01));
  ASSERT_TRUE(Apply(entry, cursor, true, rows));
  EXPECT_EQ(entry.kind, 0x22);
  EXPECT_EQ(entry.identifier, 0x3C);
  ASSERT_TRUE(Apply(entry, cursor, true, rows));
  EXPECT_EQ(entry.kind, 0x32);
  // As many data as defined: all eight bytes are taken, zeros included.
  EXPECT_THAT(entry.data, ElementsAre(0x0a, 0x0b, 0, 0, 0, 0, 0, 0));
  ASSERT_TRUE(Apply(entry, cursor, true, rows));
  EXPECT_EQ(entry.kind, 0x12);
  EXPECT_EQ(cursor.position, 0u);  // wrapped to the first row
  EXPECT_FALSE(endReached_);
}

TEST_F(PatternApplyTest, PatternWithoutRepeatPutsItsLastRowInOnceAndThenStops) {
  const PatternRows rows = Rows({"Tx,10,01,02", "Tx,11,03,04"});
  SimEntry entry = Entry(0x10, 0x10);
  RowCursor cursor;
  ASSERT_TRUE(Apply(entry, cursor, false, rows));
  EXPECT_FALSE(endReached_);
  ASSERT_TRUE(Apply(entry, cursor, false, rows));
  EXPECT_TRUE(endReached_);
  EXPECT_TRUE(cursor.ended);
  EXPECT_EQ(entry.identifier, 0x11);

  entry.enable = 1;  // as after a download
  const SimEntry before = entry;
  EXPECT_FALSE(Apply(entry, cursor, false, rows));
  EXPECT_FALSE(Apply(entry, cursor, false, rows));
  EXPECT_EQ(Bytes(entry), Bytes(before));
}

TEST_F(PatternApplyTest, OneEndedPatternDoesNotSwallowTheLastRowOfAnother) {
  const PatternRows shortRows = Rows({"Tx,10,01,02"});
  const PatternRows longRows = Rows({"Tx,12,01,02", "Tx,13,01,02", "Tx,14,05,06"});
  SimEntry first = Entry(0x10, 0x10);
  SimEntry second = Entry(0x10, 0x10);
  RowCursor firstCursor;
  RowCursor secondCursor;
  ASSERT_TRUE(Apply(first, firstCursor, false, shortRows));
  ASSERT_TRUE(endReached_);
  ASSERT_TRUE(Apply(second, secondCursor, false, longRows));
  ASSERT_TRUE(Apply(second, secondCursor, false, longRows));
  ASSERT_TRUE(Apply(second, secondCursor, false, longRows));
  EXPECT_EQ(second.identifier, 0x14);
  EXPECT_FALSE(Apply(second, secondCursor, false, longRows));
}

TEST_F(PatternApplyTest, RowsOfTheWrongLengthAreSkippedUnderSkipOnePattern) {
  // 0x10 is defined with 2 data bytes.
  const PatternRows rows = Rows({"Tx,10,01,02,03", "Tx,10,01", "Tx,10,0a,0b"});
  SimEntry entry = Entry(0x10, 0x10);
  RowCursor cursor;
  ASSERT_TRUE(Apply(entry, cursor, true, rows));
  EXPECT_THAT(entry.data, ElementsAre(0x0a, 0x0b, 0, 0, 0, 0, 0, 0));
  EXPECT_EQ(cursor.position, 0u);
}

TEST_F(PatternApplyTest, IgnoreOverDataCopiesTheDefinedLengthAndKeepsTheRest) {
  settings_.options.ShortPatternMode = 0;
  const PatternRows rows = Rows({"Tx,10,01,02,03,04"});
  SimEntry entry = Entry(0x10, 0x10);
  RowCursor cursor;
  ASSERT_TRUE(Apply(entry, cursor, true, rows));
  EXPECT_THAT(entry.data, ElementsAre(0x01, 0x02, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE));
}

TEST_F(PatternApplyTest, SetTheFollowingDataFillsFromFillData) {
  settings_.options.LongPatternMode = 0;
  settings_.options.FillData = {0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7};
  const PatternRows rows = Rows({"Tx,10,01,02,03", "Tx,20,01", "Rx,21"});  // 0x20: 4 bytes
  SimEntry entry = Entry(0x10, 0x10);
  RowCursor cursor;
  ASSERT_TRUE(Apply(entry, cursor, true, rows));  // the long row is still skipped
  EXPECT_EQ(entry.identifier, 0x20);
  EXPECT_THAT(entry.data, ElementsAre(0x01, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7));
  ASSERT_TRUE(Apply(entry, cursor, true, rows));
  EXPECT_THAT(entry.data, ElementsAre(0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7));
}

TEST_F(PatternApplyTest, NothingChangesWhenNoRowSuitsOrThereAreNoRows) {
  const PatternRows unsuitable = Rows({"Tx,10,01,02,03", "Tx,10"});
  SimEntry entry = Entry(0x10, 0x10);
  const SimEntry before = entry;
  RowCursor cursor;
  cursor.position = 1;
  EXPECT_FALSE(Apply(entry, cursor, true, unsuitable));
  EXPECT_EQ(cursor.position, 1u);
  EXPECT_FALSE(Apply(entry, cursor, true, PatternRows{}));
  EXPECT_FALSE(ApplySlave(entry, cursor, true, PatternRows{}));
  EXPECT_EQ(Bytes(entry), Bytes(before));
  EXPECT_FALSE(endReached_);
}

TEST_F(PatternApplyTest, WithoutRepeatSkippingPastTheLastRowEndsThePattern) {
  const PatternRows rows = Rows({"Tx,10,0a,0b", "Tx,10,01,02,03"});
  SimEntry entry = Entry(0x10, 0x10);
  RowCursor cursor;
  ASSERT_TRUE(Apply(entry, cursor, false, rows));
  EXPECT_FALSE(Apply(entry, cursor, false, rows));
  EXPECT_TRUE(cursor.ended);
  EXPECT_TRUE(endReached_);
  EXPECT_FALSE(Apply(entry, cursor, false, rows));  // no restart at row 0
  EXPECT_EQ(cursor.position, 1u);
}

TEST_F(PatternApplyTest, SlaveRowPutsDataOnlyFromTxRowsOfItsIdentifier) {
  const PatternRows rows =
      Rows({"Tx,20,1,2,3,4", "Tx,21,9,9,9,9", "Rx,20,5,5,5,5", "Tx,20,6,7,8,9,a"});
  settings_.options.ShortPatternMode = 0;
  SimEntry entry = Entry(0x10, 0x20);
  RowCursor cursor;
  ASSERT_TRUE(ApplySlave(entry, cursor, true, rows));
  EXPECT_THAT(Bytes(entry),
              ElementsAre(0x81, 0x00, 0x10, 0x20, 1, 2, 3, 4, 0, 0, 0, 0, 0x05, 0x01));
  EXPECT_EQ(cursor.position, 1u);
  ASSERT_TRUE(ApplySlave(entry, cursor, true, rows));  // "Ignore over data": 4 of its 5 bytes
  EXPECT_THAT(entry.data, ElementsAre(6, 7, 8, 9, 0, 0, 0, 0));
  EXPECT_EQ(cursor.position, 0u);

  settings_.options.ShortPatternMode = 1;  // now the five-byte row is skipped
  cursor.position = 1;
  ASSERT_TRUE(ApplySlave(entry, cursor, true, rows));
  EXPECT_THAT(entry.data, ElementsAre(1, 2, 3, 4, 0, 0, 0, 0));
}

TEST_F(PatternApplyTest, SlaveRowsOfAnotherIdentifierNeverChangeTheEntry) {
  const PatternRows rows = Rows({"Tx,21,1,2,3,4", "Rx,20,1,2,3,4"});
  SimEntry entry = Entry(0x10, 0x20);
  const SimEntry before = entry;
  RowCursor cursor;
  EXPECT_FALSE(ApplySlave(entry, cursor, true, rows));
  EXPECT_FALSE(ApplySlave(entry, cursor, false, rows));
  EXPECT_EQ(Bytes(entry), Bytes(before));
}

TEST_F(PatternApplyTest, SlavePatternWithoutRepeatStaysAtItsLastRow) {
  const PatternRows rows = Rows({"Tx,20,1,2,3,4", "Tx,21,9,9,9,9"});
  SimEntry entry = Entry(0x10, 0x20);
  RowCursor cursor;
  ASSERT_TRUE(ApplySlave(entry, cursor, false, rows));
  EXPECT_FALSE(ApplySlave(entry, cursor, false, rows));
  EXPECT_EQ(cursor.position, 1u);
  EXPECT_FALSE(ApplySlave(entry, cursor, false, rows));
  EXPECT_EQ(cursor.position, 1u);
  EXPECT_THAT(entry.data, ElementsAre(1, 2, 3, 4, 0, 0, 0, 0));
}

}  // namespace
}  // namespace orvane::simulation
