// The values of the selected signals over time, for the Signal Plot window:
// for each signal the time, value and raw value of every complete frame of
// its frame received without error, decoded as the signal monitor decodes
// them (ExtractRawValue, ApplicableEntry).
//
// A physical signal's value is the applicable physical entry's
// raw * scale + offset; a raw value no physical entry covers is kept as the
// raw value (Covered() tells). Logical-only signals and signals without an
// encoding, or with bcd or ascii entries only, keep the raw value.
//
// Times are the analyzer's int32 milliseconds followed across its wrap from
// INT32_MAX to INT32_MIN (the signed step from the previous frame), so that
// they never fall; a step back is taken as no step.
//
// Threads: one thread at a time; no shared state.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "signals/BlockExtremes.h"
#include "signals/LinDescription.h"
#include "signals/SignalDecode.h"
#include "signals/SignalMonitorModel.h"

namespace orvane::signals {

enum class SeriesKind : std::uint8_t {
  kPhysical,  // the encoding has a physical entry; unit is its text
  kLogical,   // logical entries only: drawn as steps with their texts
  kRaw,       // no encoding, or bcd / ascii: the raw value
};

struct SignalSeries {
  SignalRow row;
  std::string name;
  std::string unit;  // the first physical entry's text
  SeriesKind kind = SeriesKind::kRaw;
  const Signal* signal = nullptr;
  const Encoding* encoding = nullptr;  // null without one
  std::uint32_t bitOffset = 0;

  std::vector<std::int64_t> times;  // milliseconds, never falling
  // For drawing: float halves what a redraw reads; texts come from raws.
  std::vector<float> values;
  std::vector<std::uint16_t> raws;
  // The extremes of `values` by blocks, kept with them, for decimation.
  BlockExtremes extremes;

  std::size_t size() const { return times.size(); }
  // False when a physical signal's raw value at `index` has no physical
  // entry: its value is then the raw value.
  bool Covered(std::size_t index) const;
  // The index of the last point at or before `time`, or size() when none is.
  std::size_t PointAtOrBefore(std::int64_t time) const;
  // The readout of point `index`: the encoding's text (as the signal
  // monitor shows it), the raw value in decimal without an encoding; a raw
  // value no entry covers is followed by " (raw)".
  std::string ValueText(std::size_t index) const;
};

class SignalSeriesSet {
 public:
  // One series per row, in row order. The description must outlive the set.
  SignalSeriesSet(const LinDescription& description, std::span<const SignalRow> rows);

  // A complete frame of `identifier` received without error.
  void AppendFrame(std::int32_t analyzerTime, int identifier,
                   std::span<const std::uint8_t, kDataBytes> data);
  // Removes the points before `time`.
  void DropBefore(std::int64_t time);
  // Removes every point and forgets the time base.
  void Clear();

  // `analyzerTime` on the axis of the appended frames, taken as the signed
  // step from the latest one (for times at or before it); the time itself
  // before the first frame.
  std::int64_t AxisTime(std::int32_t analyzerTime) const;
  // The time of the latest frame appended; 0 before the first.
  std::int64_t LatestTime() const { return latestTime_; }
  bool HasTime() const { return timed_; }
  // Frames appended since the set was made, Clear or not: a change marker.
  std::uint64_t FramesAppended() const { return framesAppended_; }
  // Range of times over all series: first and latest; equal when empty.
  std::int64_t EarliestTime() const;

  const std::vector<SignalSeries>& series() const { return series_; }

 private:
  std::vector<SignalSeries> series_;
  // For each identifier, the series of its frame.
  std::array<std::vector<std::uint16_t>, kIdentifierCount> byIdentifier_;
  bool timed_ = false;
  std::int32_t latestAnalyzerTime_ = 0;
  std::int64_t latestTime_ = 0;
  std::uint64_t framesAppended_ = 0;
};

// One strip of the plot: physical series sharing a unit, one logical
// series, or the series shown as raw values.
struct PlotStrip {
  SeriesKind kind = SeriesKind::kRaw;
  std::string label;  // the unit, the logical signal's name, or "raw"
  std::vector<std::size_t> series;
};

// Strips in order of their first series: physical units, each logical
// series, then one strip for all raw series.
std::vector<PlotStrip> PlotStrips(std::span<const SignalSeries> series);

}  // namespace orvane::signals
