// Paints the pages of the monitor view: the rows of the tail display
// while monitoring runs, the whole browse display (header at the top,
// records from the scroll position down) of a ring or of the capture, and
// the Each ID display of a page of table slots. Only the rows shown are
// formatted.
//
// Threads: the user-interface thread; the ring may be written meanwhile
// (rows that change underneath are tolerated).
#pragma once

#include <span>

#include "monitor/MonitorState.h"
#include "views/MonitorRowFormat.h"
#include "views/MonitorRows.h"
#include "views/ui/MonitorGridPainter.h"

class QPainter;

namespace orvane::ui {

using RingRecords = std::span<const monitor::MonitorRecord>;

// The record rows of the tail display: `rowsToDraw` rows from row 1 down,
// the newest record in the lowest; no marker and no highlight. The rows
// below them are left as they are.
void PaintTailRows(QPainter& painter, const MonitorGridPainter& grid, RingRecords records,
                   const monitor::RingSnapshot& snapshot, int rowsToDraw,
                   const views::RowFormat& format);

// What the browse display shows besides the records.
struct BrowseMarks {
  const views::RelativeTimeMarker* marker = nullptr;
  std::int32_t foundIndex = -1;  // ring index of the found record, -1 none
};

// The browse display on a client area of `width` × `height` pixels: white,
// the header in row 0, then the records of `page`. `records` is the whole
// ring (or the capture); the page wraps at its end.
void PaintBrowsePage(QPainter& painter, const MonitorGridPainter& grid,
                     std::span<const monitor::MonitorRecord> records, const views::BrowsePage& page,
                     const views::RowFormat& format, const BrowseMarks& marks, int width,
                     int height);

// The Each ID display: white, the header in row 0, then the records of
// `table` at `slots` from row 1 down, unmarked.
void PaintSlotPage(QPainter& painter, const MonitorGridPainter& grid,
                   std::span<const monitor::MonitorRecord> records, const views::RowFormat& format,
                   int width, int height);

// The cells of one record as the browse display shows it.
views::RowCells BrowseCells(const monitor::MonitorRecord& record, std::uint32_t index,
                            const views::RowFormat& format, const BrowseMarks& marks);

}  // namespace orvane::ui
