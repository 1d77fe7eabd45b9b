// The plotted points against the decoder: raw values at odd bit offsets and
// 16 bits wide, physical scale and offset, values no entry covers, the
// analyzer's time wrap, and the strips the signals share.
#include "signals/SignalSeries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <limits>
#include <random>

namespace orvane::signals {
namespace {

using Data = std::array<std::uint8_t, kDataBytes>;

// Frame 0 (identifier 0x10): Speed, 16 bits at 8, physical 0-60000 x 0.01 - 5
// km/h and logical 65535 "invalid"; Gear, 3 bits at 5, logical; Temp, 7 bits
// at 25, physical 0-100 x 0.5 - 40 degC. Frame 1 (identifier 0x22): Bits, 11
// bits at 37 without an encoding; Level, 8 bits at 0, physical x 2 km/h.
LinDescription TestDescription() {
  LinDescription description;
  description.signals = {{"Speed", 16, 0, kMasterNode, {}, 0},
                         {"Gear", 3, 0, kMasterNode, {}, 1},
                         {"Temp", 7, 0, kMasterNode, {}, 2},
                         {"Bits", 11, 0, kMasterNode, {}, -1},
                         {"Level", 8, 0, kMasterNode, {}, 3}};
  description.encodings = {
      {"SpeedEnc",
       16,
       {{ValueKind::kPhysical, 0, 60000, 0.01, -5, "km/h"},
        {ValueKind::kLogical, 65535, 65535, 0, 0, "invalid"}}},
      {"GearEnc",
       3,
       {{ValueKind::kLogical, 0, 0, 0, 0, "P"},
        {ValueKind::kLogical, 1, 1, 0, 0, "R"},
        {ValueKind::kLogical, 2, 2, 0, 0, "N"}}},
      {"TempEnc", 7, {{ValueKind::kPhysical, 0, 100, 0.5, -40, "degC"}}},
      {"LevelEnc", 8, {{ValueKind::kPhysical, 0, 255, 2, 0, "km/h"}}},
  };
  description.frames = {{"Drive", 0x10, kMasterNode, 8, {{0, 8}, {1, 5}, {2, 25}}},
                        {"Body", 0x22, 0, 8, {{3, 37}, {4, 0}}}};
  return description;
}

constexpr std::array<SignalRow, 5> kAllRows{{{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}}};

TEST(SignalSeries, PointsEqualTheDecodedValues) {
  const LinDescription description = TestDescription();
  SignalSeriesSet set(description, kAllRows);
  std::mt19937 random(7);
  std::vector<Data> drive;
  for (int n = 0; n < 40; ++n) {
    Data data{};
    for (std::uint8_t& byte : data) byte = static_cast<std::uint8_t>(random());
    drive.push_back(data);
    set.AppendFrame(1000 + 10 * n, 0x10, data);
  }
  // A frame no series belongs to and an identifier out of range add nothing.
  set.AppendFrame(2000, 0x11, drive[0]);
  set.AppendFrame(2001, 64, drive[0]);

  const auto& series = set.series();
  ASSERT_EQ(series.size(), 5u);
  for (std::size_t n = 0; n < drive.size(); ++n) {
    const Data& d = drive[n];
    const std::uint16_t speed = static_cast<std::uint16_t>(d[1] | d[2] << 8);
    const std::uint16_t gear = static_cast<std::uint16_t>(d[0] >> 5);
    const std::uint16_t temp = static_cast<std::uint16_t>(d[3] >> 1);
    ASSERT_EQ(series[0].raws[n], ExtractRawValue(d, 8, 16));
    ASSERT_EQ(series[0].raws[n], speed);
    ASSERT_EQ(series[1].raws[n], gear);
    ASSERT_EQ(series[2].raws[n], temp);
    EXPECT_EQ(series[0].times[n], 1000 + 10 * static_cast<std::int64_t>(n));
    EXPECT_EQ(series[0].values[n], static_cast<float>(speed <= 60000 ? speed * 0.01 - 5 : speed));
    EXPECT_EQ(series[1].values[n], gear);
    EXPECT_EQ(series[2].values[n], static_cast<float>(temp <= 100 ? temp * 0.5 - 40 : temp));
    EXPECT_EQ(series[2].Covered(n), temp <= 100);
  }
  EXPECT_EQ(series[3].size(), 0u);
  EXPECT_EQ(series[4].size(), 0u);
  // The block extremes follow the values.
  ASSERT_EQ(series[0].extremes.size(), drive.size());
  EXPECT_EQ(series[0].extremes.Block(0).low, std::ranges::min(series[0].values));
  EXPECT_EQ(series[0].extremes.Block(0).high, std::ranges::max(series[0].values));
}

TEST(SignalSeries, KindsUnitsAndReadoutTexts) {
  const LinDescription description = TestDescription();
  SignalSeriesSet set(description, kAllRows);
  // Speed 0xFFFF (logical "invalid"), Gear 7 (no entry), Temp 0x7F (beyond 100).
  set.AppendFrame(5, 0x10, Data{0xE0, 0xFF, 0xFF, 0xFF, 0x03, 0, 0, 0});
  // Speed 1234 -> 7.34 km/h, Gear 2 "N", Temp 90 -> 5 degC.
  set.AppendFrame(6, 0x10, Data{0x40, 0xD2, 0x04, 90 << 1, 0, 0, 0, 0});
  // Bits: 11 bits from bit 37, all ones; Level 200 -> 400.
  set.AppendFrame(7, 0x22, Data{200, 0, 0, 0, 0xE0, 0xFF, 0, 0});
  const auto& s = set.series();
  EXPECT_EQ(s[0].kind, SeriesKind::kPhysical);
  EXPECT_EQ(s[0].unit, "km/h");
  EXPECT_EQ(s[1].kind, SeriesKind::kLogical);
  EXPECT_EQ(s[3].kind, SeriesKind::kRaw);

  EXPECT_EQ(s[0].values[0], 65535);
  EXPECT_FALSE(s[0].Covered(0));
  EXPECT_EQ(s[0].ValueText(0), "invalid");
  EXPECT_EQ(s[1].ValueText(0), "7 (raw)");
  EXPECT_EQ(s[2].ValueText(0), "127 (raw)");
  EXPECT_FLOAT_EQ(s[0].values[1], 7.34f);
  EXPECT_EQ(s[0].ValueText(1), "7.34 (km/h)");
  EXPECT_EQ(s[1].ValueText(1), "N");
  EXPECT_EQ(s[2].values[1], 5);
  EXPECT_EQ(s[3].raws[0], 0x7FF);
  EXPECT_EQ(s[3].ValueText(0), "2047");
  EXPECT_EQ(s[4].values[0], 400);

  const std::vector<PlotStrip> strips = PlotStrips(s);
  ASSERT_EQ(strips.size(), 4u);
  EXPECT_EQ(strips[0].label, "km/h");
  EXPECT_EQ(strips[0].series, (std::vector<std::size_t>{0, 4}));
  EXPECT_EQ(strips[1].label, "Gear");
  EXPECT_EQ(strips[1].kind, SeriesKind::kLogical);
  EXPECT_EQ(strips[2].label, "degC");
  EXPECT_EQ(strips[3].label, "raw");
  EXPECT_EQ(strips[3].series, (std::vector<std::size_t>{3}));
}

TEST(SignalSeries, TimesFollowTheAnalyzerWrapAndNeverFall) {
  const LinDescription description = TestDescription();
  SignalSeriesSet set(description, std::span(kAllRows).first(1));
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  const Data data{};
  set.AppendFrame(kMax - 1, 0x10, data);
  set.AppendFrame(kMax, 0x10, data);
  set.AppendFrame(kMin, 0x10, data);
  set.AppendFrame(kMin + 9, 0x10, data);
  EXPECT_EQ(set.AxisTime(kMax), std::int64_t{kMax});
  set.AppendFrame(kMin + 5, 0x10, data);  // a step back stays in place
  const std::int64_t base = kMax - 1;
  EXPECT_EQ(set.series()[0].times,
            (std::vector<std::int64_t>{base, base + 1, base + 2, base + 11, base + 11}));
  EXPECT_EQ(set.series()[0].PointAtOrBefore(base + 10), 2u);
  EXPECT_EQ(set.series()[0].PointAtOrBefore(base - 1), 5u);

  set.DropBefore(base + 2);
  EXPECT_EQ(set.series()[0].times, (std::vector<std::int64_t>{base + 2, base + 11, base + 11}));
  EXPECT_EQ(set.series()[0].raws.size(), 3u);
  EXPECT_EQ(set.series()[0].extremes.size(), 3u);
  EXPECT_EQ(set.EarliestTime(), base + 2);

  // After Clear the next frame starts a new time base, negative or not.
  set.Clear();
  set.AppendFrame(-20, 0x10, data);
  EXPECT_EQ(set.series()[0].times, (std::vector<std::int64_t>{-20}));
  EXPECT_EQ(set.series()[0].extremes.size(), 1u);
}

TEST(SignalSeries, RowsNamingNoEntryAreLeftOut) {
  const LinDescription description = TestDescription();
  const std::array<SignalRow, 3> rows{{{0, 3}, {5, 0}, {1, 1}}};
  SignalSeriesSet set(description, rows);
  ASSERT_EQ(set.series().size(), 1u);
  EXPECT_EQ(set.series()[0].name, "Level");
}

}  // namespace
}  // namespace orvane::signals
