#include "simulation/SlaveSetupRows.h"

#include <gtest/gtest.h>

#include "settings/FixedText.h"
#include "simulation/SlotRowRead.h"
#include "tests/simulation/SimulationTestSupport.h"

namespace orvane::simulation {
namespace {

class SlaveSetupRowsTest : public ::testing::Test {
 protected:
  SlaveSetupRowsTest() {
    for (SimSlot& response : responses_) response = DefaultSlaveResponse();
  }

  static SimSlot Response(std::uint8_t identifier, bool enabled,
                          std::initializer_list<std::uint8_t> data = {}) {
    SimSlot response = DefaultSlaveResponse();
    response.enable = enabled ? 1 : 0;
    response.identifier = identifier;
    std::ranges::copy(data, response.data);
    return response;
  }

  // The rows as the setup shows `shown` (unset rows default).
  SlotGridRows Rows(std::initializer_list<std::pair<std::size_t, SimSlot>> shown) const {
    SlotGridRows rows(GridMode::kSlave, kSlaveResponseCount);
    for (std::size_t row = 0; row < rows.size(); ++row)
      rows.ShowSlot(row, DefaultSlaveResponse(), settings_.identifiers);
    for (const auto& [row, response] : shown) rows.ShowSlot(row, response, settings_.identifiers);
    return rows;
  }

  testing::RuleSettings settings_;
  SlaveResponses responses_{};
  std::int32_t masterId_ = 0;
};

TEST_F(SlaveSetupRowsTest, MasterIdReadsOneOrTwoHexadecimalDigits) {
  EXPECT_EQ(ParseMasterId("0a"), 0x0A);
  EXPECT_EQ(ParseMasterId(" 3F"), 0x3F);
  EXPECT_EQ(ParseMasterId("7"), 0x07);
  EXPECT_EQ(ParseMasterId("1g"), 0x01);
  EXPECT_EQ(ParseMasterId("123"), 0x12);
  EXPECT_EQ(ParseMasterId(""), std::nullopt);
  EXPECT_EQ(ParseMasterId("zz"), std::nullopt);
  EXPECT_EQ(ParseMasterId("-1"), std::nullopt);
}

TEST_F(SlaveSetupRowsTest, RowsThatPassAreAllStored) {
  SimSlot pattern = Response(0x23, true, {1, 2, 3, 4});
  testing::UsePattern(pattern, "/data/walk.ptn", kTriggerKey, 0x41);
  SlotGridRows rows = Rows({{0, Response(0x11, true, {0xAB, 0xCD})},
                            {3, pattern},
                            {7, Response(0x50, false)}});  // disabled: any identifier passes

  EXPECT_EQ(StoreSlaveSetup(rows, "05", responses_, masterId_), std::nullopt);
  EXPECT_EQ(masterId_, 0x05);
  EXPECT_EQ(testing::Bytes(responses_[0]), testing::Bytes(Response(0x11, true, {0xAB, 0xCD})));
  EXPECT_EQ(testing::Bytes(responses_[3]), testing::Bytes(pattern));
  EXPECT_EQ(responses_[7].identifier, 0x50);
  EXPECT_EQ(testing::Bytes(responses_[15]), testing::Bytes(DefaultSlaveResponse()));
}

TEST_F(SlaveSetupRowsTest, FirstFailingRowIsReportedAndEveryRowStillStored) {
  const SlotGridRows rows = Rows({{2, Response(0x0A, true)},
                                  {4, Response(0x3E, false)},
                                  {9, Response(0x21, true, {9, 8, 7, 6})}});

  EXPECT_EQ(StoreSlaveSetup(rows, "0a", responses_, masterId_),
            (SlaveSetupFailure{2, "0ah is master ID. Please select another one."}));
  EXPECT_EQ(masterId_, 0x0A);
  EXPECT_EQ(responses_[4].identifier, 0x3E);
  EXPECT_EQ(testing::Bytes(responses_[9]), testing::Bytes(Response(0x21, true, {9, 8, 7, 6})));

  // With another master ID the disabled extended-frame row fails next.
  EXPECT_EQ(StoreSlaveSetup(rows, "01", responses_, masterId_),
            (SlaveSetupFailure{4, "Extend frame can't be registed."}));
}

TEST_F(SlaveSetupRowsTest, RepeatedIdentifierFailsOnTheLaterRowAfterTheRowChecks) {
  const SlotGridRows rows = Rows(
      {{1, Response(0x11, true, {1})}, {3, Response(0x11, false)}, {6, Response(0x11, true, {6})}});

  EXPECT_EQ(StoreSlaveSetup(rows, "00", responses_, masterId_), (SlaveSetupFailure{6, ""}));
  EXPECT_EQ(responses_[6].enable, 1);
  EXPECT_EQ(responses_[6].data[0], 6);

  // A failing row check wins over the repeat, whatever the order.
  const SlotGridRows failing =
      Rows({{1, Response(0x11, true)}, {2, Response(0x11, true)}, {12, Response(0x3F, false)}});
  EXPECT_EQ(StoreSlaveSetup(failing, "00", responses_, masterId_),
            (SlaveSetupFailure{12, "Extend frame can't be registed."}));
}

TEST_F(SlaveSetupRowsTest, MasterIdThatIsNotHexadecimalIsKeptAndChecked) {
  masterId_ = 0x11;
  const SlotGridRows rows = Rows({{0, Response(0x11, true)}});
  EXPECT_EQ(StoreSlaveSetup(rows, "xy", responses_, masterId_),
            (SlaveSetupFailure{0, "11h is master ID. Please select another one."}));
  EXPECT_EQ(masterId_, 0x11);
}

class SlavePatternPreviewTest : public ::testing::Test {
 protected:
  SlavePatternPreviewTest() {
    stored_ = DefaultSlaveResponse();
    settings::CopyToField(
        dir_.Write("walk.ptn",
                   "Tx,20,01,02,03,04\r\nTx,11,aa\nRx,11,dd,ee\nTx,11,bb,cc,99\nTx,11,12,34\n")
            .string(),
        stored_.patternPath);
  }

  SlotRow RowOn(std::string_view identifier) const {
    SlotRow row = ShowSlot(Response(0x40, true), GridMode::kSlave, settings_.identifiers, 0);
    row[kColumnIdentifier] = identifier;
    row[kColumnPattern] = kChecked;
    return row;
  }

  static SimSlot Response(std::uint8_t identifier, bool enabled) {
    SimSlot response = DefaultSlaveResponse();
    response.identifier = identifier;
    response.enable = enabled ? 1 : 0;
    response.data[7] = 0x77;
    return response;
  }

  static std::array<std::string, kSlotDataSize> Data(const SlotRow& row) {
    std::array<std::string, kSlotDataSize> data;
    for (std::size_t i = 0; i < kSlotDataSize; ++i) data[i] = row[DataColumn(i)];
    return data;
  }

  testing::TempDir dir_;
  testing::RuleSettings settings_;
  SimSlot stored_{};
};

TEST_F(SlavePatternPreviewTest, FirstLineForTheIdentifierThatSuitsItsLength) {
  // Both pattern choices "Skip 1Pattern": the one-byte and three-byte rows
  // do not suit a two-byte identifier; an Rx line counts like a Tx line.
  settings_.options.ShortPatternMode = 1;
  settings_.options.LongPatternMode = 1;
  SlotRow row = RowOn("11");
  ASSERT_TRUE(PreviewSlavePattern(row, stored_, settings_.rules()));
  EXPECT_EQ(Data(row), (std::array<std::string, 8>{"dd", "ee", "", "", "", "", "", ""}));

  SlotRow wide = RowOn("20");
  ASSERT_TRUE(PreviewSlavePattern(wide, stored_, settings_.rules()));
  EXPECT_EQ(Data(wide), (std::array<std::string, 8>{"01", "02", "03", "04", "", "", "", ""}));
}

TEST_F(SlavePatternPreviewTest, ShortRowsCountWhenNotSkipped) {
  settings_.options.ShortPatternMode = 1;
  settings_.options.LongPatternMode = 0;
  SlotRow row = RowOn("11");
  ASSERT_TRUE(PreviewSlavePattern(row, stored_, settings_.rules()));
  EXPECT_EQ(Data(row), (std::array<std::string, 8>{"aa", "00", "", "", "", "", "", ""}));
}

TEST_F(SlavePatternPreviewTest, NothingQualifyingLeavesTheRowAlone) {
  const SlotRow other = RowOn("12");
  SlotRow row = other;
  EXPECT_FALSE(PreviewSlavePattern(row, stored_, settings_.rules()));
  EXPECT_EQ(row, other);

  SlotRow empty = RowOn("");
  const SlotRow emptyBefore = empty;
  EXPECT_FALSE(PreviewSlavePattern(empty, stored_, settings_.rules()));
  EXPECT_EQ(empty, emptyBefore);

  SimSlot missing = stored_;
  settings::CopyToField((dir_.path() / "gone.ptn").string(), missing.patternPath);
  SlotRow unread = RowOn("11");
  EXPECT_FALSE(PreviewSlavePattern(unread, missing, settings_.rules()));
  EXPECT_EQ(unread[kColumnData7], "77");
}

}  // namespace
}  // namespace orvane::simulation
