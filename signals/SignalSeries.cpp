#include "signals/SignalSeries.h"

#include <algorithm>

#include "monitor/MonitorTime.h"

namespace orvane::signals {
namespace {

const ValueEntry* FirstEntryOfKind(const Encoding& encoding, ValueKind kind) {
  const auto found = std::ranges::find(encoding.values, kind, &ValueEntry::kind);
  return found == encoding.values.end() ? nullptr : &*found;
}

SignalSeries SeriesOf(const LinDescription& description, SignalRow row) {
  SignalSeries series;
  series.row = row;
  const FrameEntry& entry = description.frames[row.frame].entries[row.entry];
  series.signal = &description.signals[entry.signal];
  series.bitOffset = entry.bitOffset;
  series.name = series.signal->name;
  if (series.signal->encoding == kNoEncoding) return series;
  series.encoding = &description.encodings[static_cast<std::size_t>(series.signal->encoding)];
  if (const ValueEntry* physical = FirstEntryOfKind(*series.encoding, ValueKind::kPhysical)) {
    series.kind = SeriesKind::kPhysical;
    series.unit = physical->text;
  } else if (FirstEntryOfKind(*series.encoding, ValueKind::kLogical) != nullptr) {
    series.kind = SeriesKind::kLogical;
  }
  return series;
}

float ValueOf(const SignalSeries& series, std::uint16_t raw) {
  if (series.kind != SeriesKind::kPhysical) return raw;
  const ValueEntry* entry = ApplicableEntry(*series.encoding, raw);
  if (entry == nullptr || entry->kind != ValueKind::kPhysical) return raw;
  return static_cast<float>(PhysicalValue(*entry, raw));
}

}  // namespace

bool SignalSeries::Covered(std::size_t index) const {
  if (kind != SeriesKind::kPhysical) return true;
  const ValueEntry* entry = ApplicableEntry(*encoding, raws[index]);
  return entry != nullptr && entry->kind == ValueKind::kPhysical;
}

std::size_t SignalSeries::PointAtOrBefore(std::int64_t time) const {
  const auto after = std::ranges::upper_bound(times, time);
  return after == times.begin() ? size() : static_cast<std::size_t>(after - times.begin()) - 1;
}

std::string SignalSeries::ValueText(std::size_t index) const {
  const std::uint16_t raw = raws[index];
  if (encoding == nullptr) return std::to_string(raw);
  if (ApplicableEntry(*encoding, raw) == nullptr) return std::to_string(raw) + " (raw)";
  std::string text = EncodeText(*encoding, raw, signal->size);
  return text.empty() ? std::to_string(raw) : text;
}

SignalSeriesSet::SignalSeriesSet(const LinDescription& description,
                                 std::span<const SignalRow> rows) {
  series_.reserve(rows.size());
  for (const SignalRow row : rows) {
    if (row.frame >= description.frames.size() ||
        row.entry >= description.frames[row.frame].entries.size()) {
      continue;
    }
    const std::uint8_t identifier = description.frames[row.frame].identifier;
    if (identifier >= kIdentifierCount) continue;
    byIdentifier_[identifier].push_back(static_cast<std::uint16_t>(series_.size()));
    series_.push_back(SeriesOf(description, row));
  }
}

std::int64_t SignalSeriesSet::AxisTime(std::int32_t analyzerTime) const {
  if (!timed_) return analyzerTime;
  return latestTime_ + monitor::AnalyzerTimeStep(latestAnalyzerTime_, analyzerTime);
}

void SignalSeriesSet::AppendFrame(std::int32_t analyzerTime, int identifier,
                                  std::span<const std::uint8_t, kDataBytes> data) {
  // A step back (a time the analyzer cannot give) keeps the times sorted.
  latestTime_ = timed_ ? std::max(AxisTime(analyzerTime), latestTime_) : analyzerTime;
  latestAnalyzerTime_ = analyzerTime;
  timed_ = true;
  ++framesAppended_;
  if (identifier < 0 || identifier >= kIdentifierCount) return;
  for (const std::uint16_t index : byIdentifier_[static_cast<std::size_t>(identifier)]) {
    SignalSeries& series = series_[index];
    const std::uint16_t raw = ExtractRawValue(data, series.bitOffset, series.signal->size);
    series.times.push_back(latestTime_);
    series.values.push_back(ValueOf(series, raw));
    series.extremes.Append(series.values.back());
    series.raws.push_back(raw);
  }
}

void SignalSeriesSet::DropBefore(std::int64_t time) {
  for (SignalSeries& series : series_) {
    const auto kept = std::ranges::lower_bound(series.times, time) - series.times.begin();
    series.times.erase(series.times.begin(), series.times.begin() + kept);
    series.values.erase(series.values.begin(), series.values.begin() + kept);
    series.raws.erase(series.raws.begin(), series.raws.begin() + kept);
    series.extremes.DropFront(static_cast<std::size_t>(kept), series.values);
  }
}

void SignalSeriesSet::Clear() {
  for (SignalSeries& series : series_) {
    series.times.clear();
    series.values.clear();
    series.raws.clear();
    series.extremes.Clear();
  }
  timed_ = false;
  latestAnalyzerTime_ = 0;
  latestTime_ = 0;
}

std::int64_t SignalSeriesSet::EarliestTime() const {
  std::int64_t earliest = latestTime_;
  for (const SignalSeries& series : series_) {
    if (!series.times.empty()) earliest = std::min(earliest, series.times.front());
  }
  return earliest;
}

std::vector<PlotStrip> PlotStrips(std::span<const SignalSeries> series) {
  std::vector<PlotStrip> strips;
  for (std::size_t index = 0; index < series.size(); ++index) {
    const SignalSeries& one = series[index];
    const std::string label = one.kind == SeriesKind::kPhysical  ? one.unit
                              : one.kind == SeriesKind::kLogical ? one.name
                                                                 : std::string("raw");
    const auto shared = std::ranges::find_if(strips, [&](const PlotStrip& strip) {
      return one.kind != SeriesKind::kLogical && strip.kind == one.kind && strip.label == label;
    });
    if (shared != strips.end()) {
      shared->series.push_back(index);
    } else {
      strips.push_back(PlotStrip{one.kind, label, {index}});
    }
  }
  return strips;
}

}  // namespace orvane::signals
