// The 44-byte placement records and where windows open without one.
#include <gtest/gtest.h>

#include <array>

#include "app/WindowPlacement.h"

namespace orvane::app {
namespace {

TEST(WindowPlacement, RecordIsFortyFourLittleEndianWordsInTheirOrder) {
  const WindowPlacement placement{44, 2, 1, -1, -1, -8, -30, 10, 20, 645, 325};
  const auto bytes = PlacementBytes(placement);
  const std::array<std::uint8_t, 8> head = {44, 0, 0, 0, 2, 0, 0, 0};
  EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));
  EXPECT_EQ(bytes[12], 0xFF);  // minX -1
  EXPECT_EQ(bytes[40], 0x45);  // bottom 325 = 0x145
  EXPECT_EQ(bytes[41], 0x01);
  EXPECT_EQ(PlacementFromBytes(bytes), placement);
  EXPECT_FALSE(PlacementFromBytes(std::span(bytes).first(43)));
  EXPECT_TRUE(WindowPlacement{}.Empty());
}

TEST(WindowPlacement, DefaultRectanglesByLanguage) {
  const auto monitorJapanese = DefaultRectangleOf(Window::kMonitor, "JPN");
  ASSERT_TRUE(monitorJapanese);
  const WindowPlacement japanese = DefaultPlacement(*monitorJapanese, 0, 0);
  EXPECT_EQ(japanese.right - japanese.left, 620);
  EXPECT_EQ(japanese.bottom - japanese.top, 311);
  const WindowPlacement english =
      DefaultPlacement(*DefaultRectangleOf(Window::kMonitor, "ENG"), 0, 0);
  EXPECT_EQ(english.right, 635);
  EXPECT_EQ(english.bottom, 305);
  EXPECT_EQ(DefaultPlacement(*DefaultRectangleOf(Window::kCapture, "ENG"), 0, 0).left, 32);
  EXPECT_EQ(DefaultPlacement(*DefaultRectangleOf(Window::kEachId, "JPN"), 0, 0).bottom, 391);

  // The Status window takes its size from its form.
  const WindowPlacement status =
      DefaultPlacement(*DefaultRectangleOf(Window::kStatus, "ENG"), 200, 300);
  EXPECT_EQ(status.left, 638);
  EXPECT_EQ(status.top, 0);
  EXPECT_EQ(status.right, 838);
  EXPECT_EQ(status.bottom, 300);
  EXPECT_EQ(DefaultRectangleOf(Window::kStatus, "JPN")->left, 620);

  // The simulation monitors open where the system puts them.
  EXPECT_FALSE(AppliesPlacement(Window::kMasterMonitor));
  EXPECT_FALSE(AppliesPlacement(Window::kSlaveMonitor));
  EXPECT_EQ(PlacementName(Window::kMasterMonitor), "WP_K");
  EXPECT_EQ(PlacementName(Window::kSignalMonitor), "WP_SGM");
}

}  // namespace
}  // namespace orvane::app
