// Which ring record goes into which row of the monitor grid, the scroll
// range and the relative time marker's double click.
#include <gtest/gtest.h>

#include "views/MonitorRows.h"

namespace orvane::views {
namespace {

using monitor::MonitorCapacity;
using monitor::RingSnapshot;

constexpr int kRowHeight = 16;

TEST(MonitorRows, RecordRowsAreTheWholeRowsUnderTheHeader) {
  EXPECT_EQ(RecordRowsPerPage(16 * 20, kRowHeight), 19);
  EXPECT_EQ(RecordRowsPerPage(16 * 20 + 15, kRowHeight), 19);
  EXPECT_EQ(RecordRowsPerPage(10, kRowHeight), 0);
  EXPECT_EQ(RecordRowsPerPage(100, 0), 0);
}

TEST(MonitorRows, RowsToDraw) {
  EXPECT_EQ(RowsToDraw(RingSnapshot{0, false}, 20), 0);  // empty: header only
  EXPECT_EQ(RowsToDraw(RingSnapshot{5, false}, 20), 5);
  EXPECT_EQ(RowsToDraw(RingSnapshot{20, false}, 20), 20);
  EXPECT_EQ(RowsToDraw(RingSnapshot{500, false}, 20), 20);
  EXPECT_EQ(RowsToDraw(RingSnapshot{0, true}, 20), 20);
  EXPECT_EQ(RowsToDraw(RingSnapshot{3, true}, 20), 20);
}

TEST(MonitorRows, TailShowsTheNewestRecordInTheLowestRow) {
  const RingSnapshot snapshot{500, false};
  EXPECT_EQ(TailRecordIndex(snapshot, 20, 20), 499u);
  EXPECT_EQ(TailRecordIndex(snapshot, 20, 19), 498u);
  EXPECT_EQ(TailRecordIndex(snapshot, 20, 1), 480u);
}

TEST(MonitorRows, TailOfAWrappedRingWithWriteIndexZero) {
  const RingSnapshot snapshot{0, true};
  EXPECT_EQ(TailRecordIndex(snapshot, 20, 20), MonitorCapacity - 1);
  EXPECT_EQ(TailRecordIndex(snapshot, 20, 19), MonitorCapacity - 2);
}

TEST(MonitorRows, TailWrapsBackOverTheRingsEnd) {
  const RingSnapshot snapshot{3, true};
  EXPECT_EQ(TailRecordIndex(snapshot, 20, 20), 2u);
  EXPECT_EQ(TailRecordIndex(snapshot, 20, 18), 0u);
  EXPECT_EQ(TailRecordIndex(snapshot, 20, 17), MonitorCapacity - 1);
}

TEST(MonitorRows, TailWithFewerRecordsThanRowsStartsAtTheTop) {
  const RingSnapshot snapshot{3, false};
  const int rows = RowsToDraw(snapshot, 20);
  ASSERT_EQ(rows, 3);
  EXPECT_EQ(TailRecordIndex(snapshot, rows, 1), 0u);
  EXPECT_EQ(TailRecordIndex(snapshot, rows, 3), 2u);
}

TEST(MonitorRows, ScrollRange) {
  EXPECT_EQ(TotalHeight(RingSnapshot{500, false}, kRowHeight), 500 * kRowHeight);
  EXPECT_EQ(TotalHeight(RingSnapshot{7, true}, kRowHeight),
            static_cast<int>(MonitorCapacity) * kRowHeight);
  EXPECT_EQ(ScrollMaximum(500 * kRowHeight, 20 * kRowHeight), 480 * kRowHeight);
  // Fewer records than a page: nothing to scroll.
  EXPECT_EQ(ScrollMaximum(5 * kRowHeight, 20 * kRowHeight), 0);
  EXPECT_EQ(ClampScroll(-5, 100), 0);
  EXPECT_EQ(ClampScroll(150, 100), 100);
  EXPECT_EQ(ClampScroll(50, -10), 0);
}

TEST(MonitorRows, BrowseOfAnUnwrappedRing) {
  const RingSnapshot snapshot{500, false};
  BrowsePage page = BrowseRows(snapshot, 0, kRowHeight, 20);
  EXPECT_EQ(page.firstIndex, 0u);
  EXPECT_EQ(page.rows, 20);
  // At the end the newest record is in the last row.
  page = BrowseRows(snapshot, ScrollMaximum(500 * kRowHeight, 20 * kRowHeight), kRowHeight, 20);
  EXPECT_EQ(page.firstIndex, 480u);
  EXPECT_EQ(page.firstIndex + page.rows - 1, 499u);
  // A position between two rows shows the row it is in.
  page = BrowseRows(snapshot, 3 * kRowHeight + 5, kRowHeight, 20);
  EXPECT_EQ(page.firstIndex, 3u);
  // Fewer records than rows.
  page = BrowseRows(RingSnapshot{4, false}, 0, kRowHeight, 20);
  EXPECT_EQ(page.rows, 4);
  // An empty ring shows no rows.
  EXPECT_EQ(BrowseRows(RingSnapshot{0, false}, 0, kRowHeight, 20).rows, 0);
  // A position beyond the records shows only those there are.
  page = BrowseRows(snapshot, 490 * kRowHeight, kRowHeight, 20);
  EXPECT_EQ(page.rows, 10);
}

TEST(MonitorRows, BrowseOfAWrappedRingStartsAtTheOldest) {
  const RingSnapshot snapshot{250, true};
  BrowsePage page = BrowseRows(snapshot, 0, kRowHeight, 20);
  EXPECT_EQ(page.firstIndex, 250u);
  EXPECT_EQ(page.rows, 20);
  // The last page ends with the newest record, just before the write index.
  const int last = ScrollMaximum(TotalHeight(snapshot, kRowHeight), 20 * kRowHeight);
  page = BrowseRows(snapshot, last, kRowHeight, 20);
  EXPECT_EQ(page.firstIndex, 230u);
  EXPECT_EQ((page.firstIndex + page.rows - 1) % MonitorCapacity, 249u);
  // Rows past the ring's end continue at index 0.
  page = BrowseRows(snapshot, static_cast<int>(MonitorCapacity - 250 - 5) * kRowHeight, kRowHeight,
                    20);
  EXPECT_EQ(page.firstIndex, MonitorCapacity - 5);
  // Write index 0: the oldest record is at index 0.
  EXPECT_EQ(BrowseRows(RingSnapshot{0, true}, 0, kRowHeight, 20).firstIndex, 0u);
}

TEST(MonitorRows, DoubleClickOnTheHeaderOrAnEmptyRowDoesNothing) {
  const RingSnapshot snapshot{500, false};
  EXPECT_FALSE(ClickedMarkerIndex(snapshot, 0, 0, kRowHeight, 20));
  EXPECT_FALSE(ClickedMarkerIndex(snapshot, kRowHeight - 1, 0, kRowHeight, 20));
  EXPECT_FALSE(ClickedMarkerIndex(snapshot, 21 * kRowHeight, 0, kRowHeight, 20));
  EXPECT_FALSE(ClickedMarkerIndex(RingSnapshot{3, false}, 4 * kRowHeight, 0, kRowHeight, 20));
  EXPECT_FALSE(ClickedMarkerIndex(RingSnapshot{0, false}, kRowHeight, 0, kRowHeight, 20));
}

TEST(MonitorRows, DoubleClickGivesTheRowsRecordPlusOne) {
  const RingSnapshot snapshot{500, false};
  EXPECT_EQ(ClickedMarkerIndex(snapshot, kRowHeight, 0, kRowHeight, 20), 1u);
  EXPECT_EQ(ClickedMarkerIndex(snapshot, 3 * kRowHeight + 2, 0, kRowHeight, 20), 3u);
  EXPECT_EQ(ClickedMarkerIndex(snapshot, 3 * kRowHeight, 100 * kRowHeight, kRowHeight, 20), 103u);
}

TEST(MonitorRows, DoubleClickInAWrappedRingIsShiftedByTheWriteIndex) {
  const RingSnapshot snapshot{250, true};
  // Row 1 at the top shows the oldest record, index 250.
  EXPECT_EQ(ClickedMarkerIndex(snapshot, kRowHeight, 0, kRowHeight, 20), 251u);
  // Past the ring's end m comes back to the start.
  const int scroll = static_cast<int>(MonitorCapacity - 250) * kRowHeight;
  EXPECT_EQ(ClickedMarkerIndex(snapshot, kRowHeight, scroll - kRowHeight, kRowHeight, 20),
            MonitorCapacity);
  EXPECT_EQ(ClickedMarkerIndex(snapshot, kRowHeight, scroll, kRowHeight, 20), 1u);
  // The clicked record (m − 1) is the one the browse display shows there.
  for (int scrollY : {0, 5 * kRowHeight, scroll - 3 * kRowHeight, scroll + 7 * kRowHeight}) {
    const BrowsePage page = BrowseRows(snapshot, scrollY, kRowHeight, 20);
    for (int row = 1; row <= 20; ++row) {
      const auto m = ClickedMarkerIndex(snapshot, row * kRowHeight, scrollY, kRowHeight, 20);
      ASSERT_TRUE(m);
      EXPECT_EQ(*m - 1, (page.firstIndex + row - 1) % MonitorCapacity) << scrollY << "/" << row;
    }
  }
}

TEST(MonitorRows, MarkerIsSetMovedAndClearedByItsOwnRow) {
  RelativeTimeMarker marker;
  EXPECT_FALSE(marker.on);
  EXPECT_FALSE(marker.RelativeTo());
  ToggleMarker(marker, 11, 4000);
  EXPECT_TRUE(marker.on);
  EXPECT_EQ(marker.index, 11);
  EXPECT_EQ(marker.RelativeTo(), 4000);
  EXPECT_TRUE(marker.Marks(10));
  EXPECT_FALSE(marker.Marks(11));
  // Another row moves it.
  ToggleMarker(marker, 12, 4100);
  EXPECT_EQ(marker.index, 12);
  EXPECT_EQ(marker.time, 4100);
  // Its own row clears it.
  ToggleMarker(marker, 12, 4100);
  EXPECT_FALSE(marker.on);
  EXPECT_EQ(marker.index, -1);
  EXPECT_EQ(marker.time, -1);
  EXPECT_FALSE(marker.Marks(11));
}

}  // namespace
}  // namespace orvane::views
