// Which record of a monitor ring goes into which row of the traffic grid:
// the tail display while monitoring runs, the browse display while
// stopped, the scroll range, and the relative time marker that a double
// click in the Time column sets and clears.
//
// Rows are numbered from the top: row 0 is the header, record rows are 1 to
// RecordRowsPerPage. Only rows that fit whole under the header hold records,
// so the newest record of the tail display is never cut off at the bottom.
//
// Pure functions over a RingSnapshot; any thread.
#pragma once

#include <cstdint>
#include <optional>

#include "monitor/MonitorState.h"

namespace orvane::views {

// Record rows that fit whole under the header.
int RecordRowsPerPage(int clientHeight, int rowHeight);

// Record rows to draw: the records held when fewer than the rows, else the
// rows.
int RowsToDraw(const monitor::RingSnapshot& snapshot, int recordRows);

// Tail display: ring index of the record in record row `row` (1 to
// `rowsToDraw`); the newest record, just before the write index, is in row
// `rowsToDraw`, and each row above holds the next older one.
std::uint32_t TailRecordIndex(const monitor::RingSnapshot& snapshot, int rowsToDraw, int row);

// Scroll range of the browse display in pixels: 0 to ScrollMaximum.
int TotalHeight(const monitor::RingSnapshot& snapshot, int rowHeight);
int ScrollMaximum(int totalHeight, int pageHeight);
// A scroll position clamped to [0, maximum].
int ClampScroll(int scrollY, int maximum);

// Browse display: the records shown from row 1 down.
struct BrowsePage {
  std::uint32_t firstIndex = 0;  // ring index of the record in row 1
  int rows = 0;                  // record rows that hold a record
};
BrowsePage BrowseRows(const monitor::RingSnapshot& snapshot, int scrollY, int rowHeight,
                      int recordRows);

// The relative time marker: while on, Time cells show times relative to the
// marked record's, whose own Time cell is yellow.
struct RelativeTimeMarker {
  std::int32_t time = -1;
  bool on = false;
  std::int32_t index = -1;  // ring index + 1 of the marked record; -1 none

  void Clear() { *this = RelativeTimeMarker{}; }
  bool Marks(std::uint32_t ringIndex) const {
    return on && index >= 1 && static_cast<std::uint32_t>(index - 1) == ringIndex;
  }
  std::optional<std::int32_t> RelativeTo() const {
    return on ? std::optional<std::int32_t>(time) : std::nullopt;
  }
};

// A double click at `y` (viewport pixels) of the browse display: the marker
// index m (ring index + 1) of the record in the clicked row, or nothing for
// the header and for rows without a record.
std::optional<std::uint32_t> ClickedMarkerIndex(const monitor::RingSnapshot& snapshot, int y,
                                                int scrollY, int rowHeight, int recordRows);

// Sets the marker on the record at ring index m − 1 with time `time`, or
// clears it when it is on and already marks m.
void ToggleMarker(RelativeTimeMarker& marker, std::uint32_t m, std::int32_t time);

}  // namespace orvane::views
