// Reducing a signal's points to what a plot of a given pixel width can show:
// per pixel column the first, the smallest, the largest and the last point,
// in time order, so that the polyline through them keeps every column's
// extremes and runs from one column's last point to the next column's
// first, also across columns without points. The nearest point on either
// side of the range is kept too, so the line enters and leaves the plot.
//
// A column's extremes come from the BlockExtremes of the values for the
// blocks that lie wholly inside it; only the values at its edges are read
// one by one. A redraw thus costs about the columns times the blocks of a
// column, not the points in view.
//
// Threads: pure functions; any thread.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "signals/BlockExtremes.h"

namespace orvane::signals {

// Visible times in milliseconds: begin <= t < end.
struct PlotRange {
  std::int64_t begin = 0;
  std::int64_t end = 0;
};

// A point to draw: x in pixels from the range's begin (points outside the
// range lie outside 0 ... width), and the value.
struct PlotVertex {
  double x = 0;
  double value = 0;
  bool operator==(const PlotVertex&) const = default;
};

// The x of `time` in a plot `width` pixels wide showing `range`.
double PlotX(std::int64_t time, PlotRange range, int width);
// The pixel column of a `time` in the range: floor(PlotX), at most width - 1.
int PlotColumn(std::int64_t time, PlotRange range, int width);

// At most four vertices per column plus the two neighbours, for the points
// (`times` sorted, `values` alongside, `blocks` the BlockExtremes of
// `values`) in `range`. Of the smallest and largest value of a column the
// first point with it is taken. `out` is cleared first and keeps its
// capacity; reserve MaxDecimatedVertices(width) to draw without allocating.
// Empty when the width or the range is empty or no point lies in or next to
// the range.
void DecimateForColumns(std::span<const std::int64_t> times, std::span<const float> values,
                        const BlockExtremes& blocks, PlotRange range, int width,
                        std::vector<PlotVertex>& out);

inline std::size_t MaxDecimatedVertices(int width) {
  return width > 0 ? 4 * static_cast<std::size_t>(width) + 2 : 0;
}

}  // namespace orvane::signals
