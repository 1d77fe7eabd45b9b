// The monitor grid's columns: widths by layout and language, header texts
// and x positions.
#include <gtest/gtest.h>

#include <vector>

#include "views/MonitorGridLayout.h"

namespace orvane::views {
namespace {

std::vector<int> Widths(const GridColumns& columns) {
  std::vector<int> widths;
  for (int i = 0; i < columns.count(); ++i) widths.push_back(columns.width(i));
  return widths;
}

std::vector<std::string> Titles(const GridColumns& columns) {
  std::vector<std::string> titles;
  for (int i = 0; i < columns.count(); ++i) titles.push_back(columns.title(i));
  return titles;
}

TEST(MonitorGridLayout, IdenLayoutInEnglish) {
  const GridColumns columns(GridLayout::Of("ENG", "IDEN"), 7);
  EXPECT_EQ(columns.count(), 17);
  EXPECT_EQ(Widths(columns),
            (std::vector<int>{11, 4, 5, 16, 9, 5, 5, 3, 3, 3, 3, 3, 3, 3, 3, 3, 4}));
  EXPECT_EQ(Titles(columns),
            (std::vector<std::string>{" Time      ", " M/S", " Dir ", " Command        ",
                                      " Error   ", " Sync", " IDEN", " DL", " D0", " D1", " D2",
                                      " D3", " D4", " D5", " D6", " D7", " Sum"}));
}

TEST(MonitorGridLayout, IdenLayoutInJapanese) {
  const GridColumns columns(GridLayout::Of("JPN", "IDEN"), 6);
  EXPECT_EQ(Widths(columns),
            (std::vector<int>{11, 3, 3, 8, 9, 4, 4, 3, 3, 3, 3, 3, 3, 3, 3, 3, 4}));
  // A text longer than its column keeps its length.
  EXPECT_EQ(columns.title(5), " Sync");
  EXPECT_EQ(columns.title(3), " Command");
}

TEST(MonitorGridLayout, IdDlcLayoutHasSixteenColumns) {
  for (const char* language : {"ENG", "JPN"}) {
    const GridColumns columns(GridLayout::Of(language, "ID+DLC"), 8);
    EXPECT_EQ(columns.count(), 16);
    EXPECT_EQ(columns.title(5), " ID");
    EXPECT_EQ(columns.title(6), " DLC");
    EXPECT_EQ(columns.title(7), " D0");
    EXPECT_EQ(columns.title(15), " Sum");
    EXPECT_EQ(columns.width(5), 3);
    EXPECT_EQ(columns.width(6), 4);
  }
  EXPECT_EQ(GridColumns(GridLayout::Of("JPN", "ID+DLC"), 8).width(1), 3);
  EXPECT_EQ(GridColumns(GridLayout::Of("ENG", "ID+DLC"), 8).width(3), 16);
}

TEST(MonitorGridLayout, EachColumnStartsOnePixelAfterThePreviousOne) {
  const GridColumns columns(GridLayout::Of("ENG", "IDEN"), 7);
  EXPECT_EQ(columns.x(0), 0);
  EXPECT_EQ(columns.x(1), 11 * 7 + 1);
  EXPECT_EQ(columns.x(2), 11 * 7 + 1 + 4 * 7 + 1);
  for (int i = 1; i < columns.count(); ++i) {
    EXPECT_EQ(columns.x(i), columns.x(i - 1) + columns.width(i - 1) * 7 + 1);
  }
  EXPECT_EQ(columns.rowWidth(), columns.x(16) + 4 * 7);
}

TEST(MonitorGridLayout, ColumnAtAnX) {
  const GridColumns columns(GridLayout::Of("ENG", "IDEN"), 7);
  EXPECT_EQ(columns.ColumnAt(0), 0);
  EXPECT_EQ(columns.ColumnAt(columns.x(1) - 1), 0);
  EXPECT_EQ(columns.ColumnAt(columns.x(1)), 1);
  EXPECT_EQ(columns.ColumnAt(columns.x(16)), 16);
  EXPECT_EQ(columns.ColumnAt(-1), -1);
  EXPECT_EQ(columns.ColumnAt(columns.rowWidth()), -1);
}

TEST(MonitorGridLayout, RowColumnsFollowTheHeader) {
  const RowColumns iden = RowColumnsOf(GridLayout::Of("ENG", "IDEN"));
  EXPECT_EQ(iden.sync, 5);
  EXPECT_EQ(iden.identifier, 6);
  EXPECT_EQ(iden.length, 7);
  EXPECT_EQ(iden.data0, 8);
  EXPECT_EQ(iden.sum, 16);
  const RowColumns idDlc = RowColumnsOf(GridLayout::Of("ENG", "ID+DLC"));
  EXPECT_EQ(idDlc.sync, -1);
  EXPECT_EQ(idDlc.identifier, 5);
  EXPECT_EQ(idDlc.length, 6);
  EXPECT_EQ(idDlc.data0, 7);
  EXPECT_EQ(idDlc.sum, 15);
  EXPECT_EQ(RowColumnsOf(GridLayout::Of("JPN", "IDEN")).syncWidth, 4);
}

TEST(MonitorGridLayout, HeaderLineInsetByLanguage) {
  EXPECT_EQ(HeaderLineInset(GridLayout::Of("JPN", "IDEN")), 7);
  EXPECT_EQ(HeaderLineInset(GridLayout::Of("ENG", "IDEN")), 5);
}

}  // namespace
}  // namespace orvane::views
