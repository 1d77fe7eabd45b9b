#include "views/MonitorGridLayout.h"

namespace orvane::views {
namespace {

struct Column {
  std::string_view title;
  int width;
};

// Widths of the first five columns: Time, M/S, Dir, Command, Error.
constexpr std::array<int, 5> kJapaneseLead{11, 3, 3, 8, 9};
constexpr std::array<int, 5> kOtherLead{11, 4, 5, 16, 9};
constexpr std::array<std::string_view, 5> kLeadTitles{"Time", "M/S", "Dir", "Command", "Error"};
constexpr std::array<std::string_view, 8> kDataTitles{"D0", "D1", "D2", "D3",
                                                      "D4", "D5", "D6", "D7"};

}  // namespace

RowColumns RowColumnsOf(const GridLayout& layout) {
  RowColumns columns;
  if (layout.identifierWithLengthCode) {
    columns.sync = -1;
    columns.identifier = 5;
    columns.length = 6;
    columns.data0 = 7;
    columns.sum = 15;
    columns.syncWidth = 0;
    columns.identifierWidth = 3;
    columns.lengthWidth = 4;
  } else {
    columns.syncWidth = layout.japanese ? 4 : 5;
    columns.identifierWidth = columns.syncWidth;
  }
  return columns;
}

GridColumns::GridColumns(const GridLayout& layout, int charWidth)
    : layout_(layout), charWidth_(charWidth) {
  const RowColumns row = RowColumnsOf(layout);
  std::array<Column, kGridColumnsMax> columns{};
  const std::array<int, 5>& lead = layout.japanese ? kJapaneseLead : kOtherLead;
  std::size_t count = 0;
  for (std::size_t i = 0; i < lead.size(); ++i) columns[count++] = {kLeadTitles[i], lead[i]};
  if (layout.identifierWithLengthCode) {
    columns[count++] = {"ID", row.identifierWidth};
    columns[count++] = {"DLC", row.lengthWidth};
  } else {
    columns[count++] = {"Sync", row.syncWidth};
    columns[count++] = {"IDEN", row.identifierWidth};
    columns[count++] = {"DL", row.lengthWidth};
  }
  for (std::string_view title : kDataTitles) columns[count++] = {title, row.dataWidth};
  columns[count++] = {"Sum", row.sumWidth};
  count_ = static_cast<int>(count);

  int x = 0;
  for (std::size_t i = 0; i < count; ++i) {
    widths_[i] = columns[i].width;
    x_[i] = x;
    x += columns[i].width * charWidth + 1;
    std::string title = " ";
    title += columns[i].title;
    if (title.size() < static_cast<std::size_t>(columns[i].width)) {
      title.resize(static_cast<std::size_t>(columns[i].width), ' ');
    }
    titles_[i] = std::move(title);
  }
}

int GridColumns::ColumnAt(int x) const {
  if (x < 0 || x >= rowWidth()) return -1;
  int column = count_ - 1;
  while (x < this->x(column)) --column;
  return column;
}

}  // namespace orvane::views
