#include "signals/PlotDecimation.h"

#include <algorithm>
#include <array>
#include <optional>

namespace orvane::signals {
namespace {

// The points `first` ... `last` - 1 of one column, and the whole blocks
// among them: `firstBlock` ... `endBlock` - 1 (none when not below).
struct ColumnPoints {
  std::size_t first = 0;
  std::size_t last = 0;
  std::size_t firstBlock = 0;
  std::size_t endBlock = 0;

  bool HasBlocks() const { return firstBlock < endBlock; }
};

ColumnPoints ColumnOf(const BlockExtremes& blocks, std::size_t first, std::size_t last) {
  ColumnPoints column{first, last, 0, 0};
  column.firstBlock = blocks.BlockOf(first);
  if (blocks.BlockBegin(column.firstBlock) != first) ++column.firstBlock;
  column.endBlock = blocks.BlockOf(std::min(last, blocks.size()));
  return column;
}

// Widens `extremes` by `values`, over four independent lanes so that the
// compares need not wait for each other.
void Widen(ValueExtremes& extremes, std::span<const float> values) {
  std::array<float, 4> low;
  std::array<float, 4> high;
  low.fill(extremes.low);
  high.fill(extremes.high);
  std::size_t index = 0;
  for (; index + 4 <= values.size(); index += 4) {
    for (std::size_t lane = 0; lane < 4; ++lane) {
      low[lane] = std::min(low[lane], values[index + lane]);
      high[lane] = std::max(high[lane], values[index + lane]);
    }
  }
  for (; index < values.size(); ++index) {
    low[0] = std::min(low[0], values[index]);
    high[0] = std::max(high[0], values[index]);
  }
  extremes = {std::ranges::min(low), std::ranges::max(high)};
}

std::span<const float> Slice(std::span<const float> values, std::size_t first, std::size_t last) {
  return values.subspan(first, last - first);
}

// The values before the column's first whole block, and after its last.
std::span<const float> Head(std::span<const float> values, const BlockExtremes& blocks,
                            const ColumnPoints& column) {
  return Slice(values, column.first,
               column.HasBlocks() ? blocks.BlockBegin(column.firstBlock) : column.last);
}
std::span<const float> Tail(std::span<const float> values, const BlockExtremes& blocks,
                            const ColumnPoints& column) {
  return Slice(values, column.HasBlocks() ? blocks.BlockBegin(column.endBlock) : column.last,
               column.last);
}

ValueExtremes ExtremesOf(std::span<const float> values, const BlockExtremes& blocks,
                         const ColumnPoints& column) {
  ValueExtremes extremes{values[column.first], values[column.first]};
  Widen(extremes, Head(values, blocks, column));
  for (std::size_t block = column.firstBlock; block < column.endBlock; ++block) {
    extremes.low = std::min(extremes.low, blocks.Block(block).low);
    extremes.high = std::max(extremes.high, blocks.Block(block).high);
  }
  Widen(extremes, Tail(values, blocks, column));
  return extremes;
}

// The index of the column's first value equal to `wanted`, which is its
// smallest (`low`) or largest value: the first block with it is the only
// one read. The column's first point when none is equal (a NaN).
std::size_t FirstWith(float wanted, bool low, std::span<const float> values,
                      const BlockExtremes& blocks, const ColumnPoints& column) {
  const auto indexIn = [&](std::span<const float> part) {
    const auto found = std::ranges::find(part, wanted);
    return found == part.end() ? std::optional<std::size_t>()
                               : static_cast<std::size_t>(&*found - values.data());
  };
  if (const auto index = indexIn(Head(values, blocks, column))) return *index;
  for (std::size_t block = column.firstBlock; block < column.endBlock; ++block) {
    const ValueExtremes& extremes = blocks.Block(block);
    if ((low ? extremes.low : extremes.high) != wanted) continue;
    const auto index =
        indexIn(Slice(values, blocks.BlockBegin(block), blocks.BlockBegin(block + 1)));
    if (index) return *index;
  }
  return indexIn(Tail(values, blocks, column)).value_or(column.first);
}

// Appends the vertices of the points of `column`: the first, the smallest,
// the largest and the last, in time order, each once.
void AddColumn(std::span<const std::int64_t> times, std::span<const float> values,
               const BlockExtremes& blocks, const ColumnPoints& column, PlotRange range, int width,
               std::vector<PlotVertex>& out) {
  const ValueExtremes extremes = ExtremesOf(values, blocks, column);
  const std::size_t minimum = FirstWith(extremes.low, true, values, blocks, column);
  const std::size_t maximum = FirstWith(extremes.high, false, values, blocks, column);
  std::array<std::size_t, 4> indices{column.first, std::min(minimum, maximum),
                                     std::max(minimum, maximum), column.last - 1};
  const auto end = std::unique(indices.begin(), indices.end());
  for (auto index = indices.begin(); index != end; ++index) {
    out.push_back(PlotVertex{PlotX(times[*index], range, width), values[*index]});
  }
}

// The first index from `start` on (before `end`) of a point past `column`:
// steps doubling from `start`, then a binary search, so a column costs the
// logarithm of its own points.
std::size_t ColumnEnd(std::span<const std::int64_t> times, std::size_t start, std::size_t end,
                      int column, PlotRange range, int width) {
  const auto inColumn = [&](std::int64_t time) { return PlotColumn(time, range, width) <= column; };
  std::size_t low = start + 1;  // every point before `low` is in the column
  std::size_t high = end;
  for (std::size_t step = 1; low < end; step *= 2) {
    const std::size_t probe = std::min(low + step - 1, end - 1);
    if (!inColumn(times[probe])) {
      high = probe;
      break;
    }
    low = probe + 1;
  }
  const auto base = times.begin();
  return static_cast<std::size_t>(std::partition_point(base + static_cast<std::ptrdiff_t>(low),
                                                       base + static_cast<std::ptrdiff_t>(high),
                                                       inColumn) -
                                  base);
}

}  // namespace

double PlotX(std::int64_t time, PlotRange range, int width) {
  return static_cast<double>(time - range.begin) * width /
         static_cast<double>(range.end - range.begin);
}

int PlotColumn(std::int64_t time, PlotRange range, int width) {
  return std::min(static_cast<int>(PlotX(time, range, width)), width - 1);
}

void DecimateForColumns(std::span<const std::int64_t> times, std::span<const float> values,
                        const BlockExtremes& blocks, PlotRange range, int width,
                        std::vector<PlotVertex>& out) {
  out.clear();
  if (width <= 0 || range.end <= range.begin) return;
  times = times.first(std::min(times.size(), values.size()));
  const auto indexOf = [&](auto position) {
    return static_cast<std::size_t>(position - times.begin());
  };
  const std::size_t first = indexOf(std::ranges::lower_bound(times, range.begin));
  const std::size_t end = indexOf(std::ranges::lower_bound(times, range.end));
  const auto vertex = [&](std::size_t index) {
    out.push_back(PlotVertex{PlotX(times[index], range, width), values[index]});
  };
  if (first > 0) vertex(first - 1);
  for (std::size_t start = first; start < end;) {
    const std::size_t stop =
        ColumnEnd(times, start, end, PlotColumn(times[start], range, width), range, width);
    AddColumn(times, values, blocks, ColumnOf(blocks, start, stop), range, width, out);
    start = stop;
  }
  if (end < times.size()) vertex(end);
}

}  // namespace orvane::signals
