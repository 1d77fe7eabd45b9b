#include "views/ui/MonitorPagePaint.h"

#include <QPainter>

namespace orvane::ui {

void PaintTailRows(QPainter& painter, const MonitorGridPainter& grid, RingRecords records,
                   const monitor::RingSnapshot& snapshot, int rowsToDraw,
                   const views::RowFormat& format) {
  views::RowCells cells;
  for (int row = rowsToDraw; row >= 1; --row) {
    const std::uint32_t index = views::TailRecordIndex(snapshot, rowsToDraw, row);
    views::FormatRow(records[index], format, views::RowMarks{}, cells);
    grid.PaintRow(painter, row * grid.rowHeight(), cells);
  }
}

views::RowCells BrowseCells(const monitor::MonitorRecord& record, std::uint32_t index,
                            const views::RowFormat& format, const BrowseMarks& marks) {
  views::RowMarks rowMarks;
  rowMarks.highlighted =
      marks.foundIndex >= 0 && static_cast<std::uint32_t>(marks.foundIndex) == index;
  if (marks.marker != nullptr) {
    rowMarks.marked = marks.marker->Marks(index);
    rowMarks.relativeTo = marks.marker->RelativeTo();
  }
  views::RowCells cells;
  views::FormatRow(record, format, rowMarks, cells);
  return cells;
}

void PaintBrowsePage(QPainter& painter, const MonitorGridPainter& grid,
                     std::span<const monitor::MonitorRecord> records, const views::BrowsePage& page,
                     const views::RowFormat& format, const BrowseMarks& marks, int width,
                     int height) {
  painter.fillRect(0, 0, width, height, Qt::white);
  grid.PaintHeader(painter, 0, width);
  std::uint32_t index = page.firstIndex;
  for (int i = 0; i < page.rows && index < records.size(); ++i) {
    grid.PaintRow(painter, (i + 1) * grid.rowHeight(),
                  BrowseCells(records[index], index, format, marks));
    if (++index == records.size()) index = 0;
  }
}

void PaintSlotPage(QPainter& painter, const MonitorGridPainter& grid,
                   std::span<const monitor::MonitorRecord> records, const views::RowFormat& format,
                   int width, int height) {
  painter.fillRect(0, 0, width, height, Qt::white);
  grid.PaintHeader(painter, 0, width);
  views::RowCells cells;
  int row = 1;
  for (const monitor::MonitorRecord& record : records) {
    views::FormatRow(record, format, views::RowMarks{}, cells);
    grid.PaintRow(painter, row++ * grid.rowHeight(), cells);
  }
}

}  // namespace orvane::ui
