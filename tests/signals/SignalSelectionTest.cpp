// The selection bytes and the click rules of the signal select tree.
#include "signals/SignalSelection.h"

#include <gtest/gtest.h>

#include <array>

#include "signals/LdfParser.h"
#include "signals/SignalSelectModel.h"
#include "tests/signals/LdfTestFiles.h"

namespace orvane::signals {
namespace {

TEST(SignalSelection, MasksAreLittleEndianAndBitsFromSixtyFourReadAsSet) {
  std::array<std::uint8_t, kSelectionBytes> bytes{};
  SignalSelection selection(bytes);

  selection.SelectFrame(0, true);
  selection.SelectFrame(33, true);
  selection.SelectFrame(63, true);
  EXPECT_EQ(bytes[0], 0x01);
  EXPECT_EQ(bytes[4], 0x02);  // bit 33: bit 1 of the second 32-bit word
  EXPECT_EQ(bytes[7], 0x80);

  selection.SelectEntry(0, 9, true);
  selection.SelectEntry(63, 63, true);
  EXPECT_EQ(bytes[8 + 1], 0x02);
  EXPECT_EQ(bytes[kSelectionBytes - 1], 0x80);
  EXPECT_TRUE(selection.EntrySelected(0, 9));
  EXPECT_FALSE(selection.EntrySelected(0, 8));

  // Bits of 64 and above: read as set, writes change nothing.
  const std::array<std::uint8_t, kSelectionBytes> before = bytes;
  EXPECT_TRUE(selection.FrameSelected(64));
  EXPECT_TRUE(selection.EntrySelected(1, 64));
  EXPECT_TRUE(selection.EntrySelected(64, 0));
  selection.SelectFrame(64, false);
  selection.SelectFrame(1000, true);
  selection.SelectEntry(1, 64, true);
  selection.SelectEntry(64, 0, false);
  EXPECT_EQ(bytes, before);

  selection.SelectFrame(33, false);
  EXPECT_EQ(bytes[4], 0x00);
  EXPECT_TRUE(selection.FrameSelected(63));
}

class SignalSelectClicks : public ::testing::Test {
 protected:
  void SetUp() override {
    outcome_ = ParseLinDescription(testing::kBaseLdf, kDefaultSectionMask);
    ASSERT_NE(outcome_.description, nullptr);
  }

  ParseOutcome outcome_;
  std::array<std::uint8_t, kSelectionBytes> bytes_{};
  SignalSelection selection_{bytes_};
};

TEST_F(SignalSelectClicks, TreeFollowsTheDisplayOrder) {
  // Frames: 0 MFrame (0x10), 1 S1Frame (3), 2 S2Frame (0x25, two entries).
  const SignalSelectModel byId(outcome_.description.get(), SortOrder::kById);
  const SignalSelectModel byNode(outcome_.description.get(), SortOrder::kByNode);
  EXPECT_EQ(byId.frames(), (std::vector<std::uint8_t>{1, 0, 2}));
  EXPECT_EQ(byNode.frames(), (std::vector<std::uint8_t>{0, 1, 2}));

  selection_.SelectFrame(2, true);
  selection_.SelectEntry(2, 1, true);
  const std::vector<FrameChecks> checks = byId.ChecksFrom(selection_);
  ASSERT_EQ(checks.size(), 3u);
  EXPECT_EQ(checks[2], (FrameChecks{true, {false, true}}));
  EXPECT_EQ(checks[0], (FrameChecks{false, {false}}));

  const SignalSelectModel empty(nullptr, SortOrder::kById);
  EXPECT_TRUE(empty.frames().empty());
  EXPECT_TRUE(empty.ChecksFrom(selection_).empty());
}

TEST_F(SignalSelectClicks, CheckingAFrameSelectsAllItsSignalsAndUncheckingClearsThem) {
  const SignalSelectModel model(outcome_.description.get(), SortOrder::kById);
  std::vector<FrameChecks> tree = model.ChecksFrom(selection_);
  tree[2].frame = true;  // the user ticks S2Frame
  EXPECT_EQ(model.ApplyClick(tree, selection_), (TreeItem{2, std::nullopt}));
  EXPECT_TRUE(selection_.FrameSelected(2));
  EXPECT_TRUE(selection_.EntrySelected(2, 0));
  EXPECT_TRUE(selection_.EntrySelected(2, 1));
  EXPECT_EQ(model.ChecksFrom(selection_)[2], (FrameChecks{true, {true, true}}));

  tree = model.ChecksFrom(selection_);
  tree[2].frame = false;
  EXPECT_EQ(model.ApplyClick(tree, selection_), (TreeItem{2, std::nullopt}));
  EXPECT_EQ(bytes_, (std::array<std::uint8_t, kSelectionBytes>{}));
}

TEST_F(SignalSelectClicks, SignalClicksSetTheFrameBitFromItsSignals) {
  const SignalSelectModel model(outcome_.description.get(), SortOrder::kByNode);
  std::vector<FrameChecks> tree = model.ChecksFrom(selection_);
  tree[2].entries[1] = true;  // tick s2b only
  EXPECT_EQ(model.ApplyClick(tree, selection_), (TreeItem{2, 1}));
  EXPECT_TRUE(selection_.FrameSelected(2));
  EXPECT_EQ(model.ChecksFrom(selection_)[2], (FrameChecks{true, {false, true}}));

  // Unticking the last ticked signal unticks the frame.
  tree = model.ChecksFrom(selection_);
  tree[2].entries[1] = false;
  EXPECT_EQ(model.ApplyClick(tree, selection_), (TreeItem{2, 1}));
  EXPECT_FALSE(selection_.FrameSelected(2));
  EXPECT_FALSE(selection_.EntrySelected(2, 1));

  // A click that changed nothing selects no item and keeps the selection.
  tree = model.ChecksFrom(selection_);
  EXPECT_EQ(model.ApplyClick(tree, selection_), std::nullopt);
  EXPECT_EQ(bytes_, (std::array<std::uint8_t, kSelectionBytes>{}));
}

}  // namespace
}  // namespace orvane::signals
