// Decimation keeps each pixel column's first, smallest, largest and last
// point, in time order, and the neighbours just outside the range.
#include "signals/PlotDecimation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <map>
#include <random>
#include <span>

namespace orvane::signals {
namespace {

struct Series {
  std::vector<std::int64_t> times;
  std::vector<float> values;
};

std::vector<PlotVertex> Decimate(const Series& series, const BlockExtremes& blocks, PlotRange range,
                                 int width) {
  std::vector<PlotVertex> out;
  DecimateForColumns(series.times, series.values, blocks, range, width, out);
  return out;
}

std::vector<PlotVertex> Decimate(const Series& series, PlotRange range, int width) {
  BlockExtremes blocks;
  blocks.Assign(series.values);
  return Decimate(series, blocks, range, width);
}

struct ColumnTruth {
  double first = 0, minimum = 0, maximum = 0, last = 0;
};

// Every point in range, column by column, the slow way.
std::map<int, ColumnTruth> BruteForce(const Series& series, PlotRange range, int width) {
  std::map<int, ColumnTruth> columns;
  for (std::size_t n = 0; n < series.times.size(); ++n) {
    const std::int64_t t = series.times[n];
    if (t < range.begin || t >= range.end) continue;
    const int column = PlotColumn(t, range, width);
    const double v = series.values[n];
    auto [it, added] = columns.try_emplace(column, ColumnTruth{v, v, v, v});
    if (added) continue;
    it->second.minimum = std::min(it->second.minimum, v);
    it->second.maximum = std::max(it->second.maximum, v);
    it->second.last = v;
  }
  return columns;
}

// The decimation of `series` against the slow way, column by column.
void ExpectEveryColumnsExtremes(const Series& series, const BlockExtremes& blocks, PlotRange range,
                                int width, int round) {
  const std::vector<PlotVertex> out = Decimate(series, blocks, range, width);
  ASSERT_LE(out.size(), MaxDecimatedVertices(width));

  // Vertices run in time order: x never falls.
  ASSERT_TRUE(std::ranges::is_sorted(out, {}, &PlotVertex::x)) << "round " << round;
  const auto first = std::ranges::lower_bound(series.times, range.begin) - series.times.begin();
  const auto end = std::ranges::lower_bound(series.times, range.end) - series.times.begin();
  std::size_t inside = 0;
  std::size_t last = out.size();
  if (first > 0) {
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out.front(),
              (PlotVertex{PlotX(series.times[first - 1], range, width), series.values[first - 1]}));
    inside = 1;
  }
  if (end < static_cast<std::ptrdiff_t>(series.times.size())) {
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out.back(), (PlotVertex{PlotX(series.times[end], range, width), series.values[end]}));
    last = out.size() - 1;
  }
  std::map<int, std::vector<double>> got;
  for (std::size_t n = inside; n < last; ++n) {
    got[std::min(static_cast<int>(out[n].x), width - 1)].push_back(out[n].value);
  }
  const std::map<int, ColumnTruth> truth = BruteForce(series, range, width);
  ASSERT_EQ(got.size(), truth.size()) << "round " << round;
  for (const auto& [column, expected] : truth) {
    const std::vector<double>& values = got.at(column);
    ASSERT_LE(values.size(), 4u);
    EXPECT_EQ(values.front(), expected.first);
    EXPECT_EQ(values.back(), expected.last);
    EXPECT_EQ(std::ranges::min(values), expected.minimum);
    EXPECT_EQ(std::ranges::max(values), expected.maximum);
  }
}

TEST(PlotDecimation, KeepsEveryColumnsExtremesOnRandomSeries) {
  std::mt19937 random(11);
  for (int round = 0; round < 200; ++round) {
    Series series;
    const int count = std::uniform_int_distribution<int>(0, 3000)(random);
    std::int64_t t = std::uniform_int_distribution<int>(-500, 500)(random);
    for (int n = 0; n < count; ++n) {
      t += std::uniform_int_distribution<int>(0, 7)(random);  // repeated times too
      series.times.push_back(t);
      series.values.push_back(std::uniform_int_distribution<int>(-1000, 1000)(random) / 8.0f);
    }
    const std::int64_t begin = std::uniform_int_distribution<int>(-600, 8000)(random);
    const PlotRange range{begin, begin + std::uniform_int_distribution<int>(1, 12000)(random)};
    const int width = std::uniform_int_distribution<int>(1, 700)(random);
    BlockExtremes blocks;
    blocks.Assign(series.values);
    ExpectEveryColumnsExtremes(series, blocks, range, width, round);
  }
}

// The vertices the slow way: before the range its last point; per column its
// first point, the first points with its smallest and its largest value, in
// time order, and its last point, each once; after the range its first point.
std::vector<PlotVertex> SlowVertices(const Series& series, PlotRange range, int width) {
  std::vector<PlotVertex> out;
  const auto add = [&](std::size_t n) {
    out.push_back({PlotX(series.times[n], range, width), series.values[n]});
  };
  const std::size_t count = series.times.size();
  std::size_t n = 0;
  while (n < count && series.times[n] < range.begin) ++n;
  if (n > 0) add(n - 1);
  while (n < count && series.times[n] < range.end) {
    const int column = PlotColumn(series.times[n], range, width);
    const std::size_t first = n;
    std::size_t low = n;
    std::size_t high = n;
    for (; n < count && series.times[n] < range.end &&
           PlotColumn(series.times[n], range, width) == column;
         ++n) {
      if (series.values[n] < series.values[low]) low = n;
      if (series.values[n] > series.values[high]) high = n;
    }
    std::vector<std::size_t> indices{first, std::min(low, high), std::max(low, high), n - 1};
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    for (const std::size_t index : indices) add(index);
  }
  if (n < count) add(n);
  return out;
}

TEST(PlotDecimation, WideColumnsFromBlocksWhileOldPointsAreDropped) {
  // Columns of hundreds to thousands of points, blocks across column edges,
  // few distinct values so that a column's extremes recur, and the oldest
  // points dropped between rounds as a live series drops them.
  std::mt19937 random(5);
  const auto uniform = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  for (int round = 0; round < 30; ++round) {
    Series series;
    BlockExtremes blocks;
    std::int64_t t = uniform(-100, 100);
    const int levels = uniform(1, 40);
    for (int step = 0; step < 6; ++step) {
      for (int added = uniform(0, 20000); added > 0; --added) {
        t += uniform(0, 3);
        series.times.push_back(t);
        series.values.push_back(static_cast<float>(uniform(-levels, levels)) / 4);
        blocks.Append(series.values.back());
      }
      const auto dropped = static_cast<std::ptrdiff_t>(
          step == 3 ? series.times.size() : series.times.size() * uniform(0, 60) / 100);
      series.times.erase(series.times.begin(), series.times.begin() + dropped);
      series.values.erase(series.values.begin(), series.values.begin() + dropped);
      blocks.DropFront(static_cast<std::size_t>(dropped), series.values);

      // Every block holds the extremes of its values; about 1 per 64 points.
      ASSERT_EQ(blocks.size(), series.values.size());
      ASSERT_LE(blocks.BlockCount(), series.values.size() / BlockExtremes::kBlock + 2);
      for (std::size_t block = 0; block < blocks.BlockCount(); ++block) {
        const std::size_t end = std::min(blocks.BlockBegin(block + 1), series.values.size());
        ASSERT_LT(blocks.BlockBegin(block), end);
        const auto [low, high] = std::ranges::minmax(
            std::span(series.values)
                .subspan(blocks.BlockBegin(block), end - blocks.BlockBegin(block)));
        ASSERT_EQ(blocks.Block(block).low, low) << "round " << round << " block " << block;
        ASSERT_EQ(blocks.Block(block).high, high) << "round " << round << " block " << block;
      }
      if (!series.values.empty()) {
        ASSERT_EQ(blocks.BlockOf(series.values.size() - 1), blocks.BlockCount() - 1);
      }

      const std::int64_t front = series.times.empty() ? t : series.times.front();
      const std::int64_t begin = front + uniform(-200, 3000);
      const PlotRange range{begin, begin + uniform(1, 40000)};
      const int width = uniform(1, 60);
      ExpectEveryColumnsExtremes(series, blocks, range, width, round);
      EXPECT_EQ(Decimate(series, blocks, range, width), SlowVertices(series, range, width))
          << "round " << round << " step " << step;
    }
  }
}

TEST(PlotDecimation, MinimumAndMaximumKeepTheirOrder) {
  // Column 0 holds 5, 9, 1, 4: the maximum comes before the minimum.
  const Series series{{0, 1, 2, 3, 10}, {5, 9, 1, 4, 7}};
  const std::vector<PlotVertex> out = Decimate(series, {0, 20}, 2);
  ASSERT_EQ(out.size(), 5u);
  EXPECT_EQ(out[0], (PlotVertex{0, 5}));
  EXPECT_EQ(out[1], (PlotVertex{0.1, 9}));
  EXPECT_EQ(out[2], (PlotVertex{0.2, 1}));
  EXPECT_EQ(out[3], (PlotVertex{0.3, 4}));
  EXPECT_EQ(out[4], (PlotVertex{1, 7}));
}

TEST(PlotDecimation, EdgeCases) {
  const Series one{{100}, {3.5}};
  EXPECT_EQ(Decimate(one, {0, 1000}, 10), (std::vector<PlotVertex>{{1, 3.5}}));
  // The point before the range and the one at its end are the neighbours.
  EXPECT_EQ(Decimate(one, {200, 300}, 10), (std::vector<PlotVertex>{{-10, 3.5}}));
  EXPECT_EQ(Decimate(one, {0, 100}, 10), (std::vector<PlotVertex>{{10, 3.5}}));
  EXPECT_EQ(Decimate(one, {100, 101}, 10), (std::vector<PlotVertex>{{0, 3.5}}));

  // Everything in one column: first, min, max, last, each once.
  const Series flat{{0, 1, 2, 3, 4, 5}, {2, 2, 8, -1, 2, 2}};
  EXPECT_EQ(Decimate(flat, {0, 1000}, 100),
            (std::vector<PlotVertex>{{0, 2}, {0.2, 8}, {0.3, -1}, {0.5, 2}}));
  // Equal values: the first point stands for min and max.
  const Series same{{0, 1, 2}, {4, 4, 4}};
  EXPECT_EQ(Decimate(same, {0, 1000}, 100), (std::vector<PlotVertex>{{0, 4}, {0.2, 4}}));

  // Empty range, no width, no points.
  EXPECT_TRUE(Decimate(flat, {5, 5}, 100).empty());
  EXPECT_TRUE(Decimate(flat, {9, 2}, 100).empty());
  EXPECT_TRUE(Decimate(flat, {0, 10}, 0).empty());
  EXPECT_TRUE(Decimate(Series{}, {0, 10}, 10).empty());

  // A range between two points: only the neighbours, joined by a line.
  const Series gap{{0, 1000}, {1, 2}};
  EXPECT_EQ(Decimate(gap, {400, 600}, 2), (std::vector<PlotVertex>{{-4, 1}, {6, 2}}));

  // A NaN value stays inside its column: the column's first and last point.
  const Series nan{{0, 1, 2, 50}, {std::numeric_limits<float>::quiet_NaN(), 1, 2, 3}};
  const std::vector<PlotVertex> nanOut = Decimate(nan, {0, 100}, 2);
  ASSERT_EQ(nanOut.size(), 3u);
  EXPECT_EQ(nanOut[0].x, 0);
  EXPECT_EQ(nanOut[1], (PlotVertex{0.04, 2}));
  EXPECT_EQ(nanOut[2], (PlotVertex{1, 3}));

  // Values and times of unequal length: only the common part counts.
  const Series uneven{{0, 1, 2}, {7}};
  EXPECT_EQ(Decimate(uneven, {0, 10}, 10), (std::vector<PlotVertex>{{0, 7}}));
}

TEST(PlotDecimation, ReservedCapacityIsKept) {
  Series series;
  for (int n = 0; n < 10000; ++n) {
    series.times.push_back(n);
    series.values.push_back(static_cast<float>(n % 17));
  }
  BlockExtremes blocks;
  blocks.Assign(series.values);
  std::vector<PlotVertex> out;
  out.reserve(MaxDecimatedVertices(50));
  const PlotVertex* storage = out.data();
  DecimateForColumns(series.times, series.values, blocks, {100, 9000}, 50, out);
  EXPECT_EQ(out.data(), storage);
  // 178 points per column; a column whose first point is its minimum or
  // maximum gives three vertices.
  EXPECT_GE(out.size(), 1 + 50 * 3 + 1u);
  EXPECT_LE(out.size(), MaxDecimatedVertices(50));
}

}  // namespace
}  // namespace orvane::signals
