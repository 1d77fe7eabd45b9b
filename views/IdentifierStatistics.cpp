#include "views/IdentifierStatistics.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "monitor/LogLayout.h"

namespace orvane::views {
namespace {

using monitor::MonitorRecord;

constexpr std::uint32_t kHeaderBits = 34;  // break, delimiter, sync and identifier fields
constexpr std::uint32_t kByteBits = 10;
constexpr int kExtendedHeaderBytes = 7;
constexpr int kContinuationBytes = 19;
constexpr std::int64_t kMillisecondsPerSecond = 1000;

std::int64_t SecondOf(std::int64_t milliseconds) {
  const std::int64_t second = milliseconds / kMillisecondsPerSecond;
  return milliseconds % kMillisecondsPerSecond < 0 ? second - 1 : second;
}

bool IsFrameKind(std::uint8_t kind) {
  return kind == monitor::kKindRequest || kind == monitor::kKindEnd || kind == monitor::kKindSleep;
}

// Whether the record's log line shows an identifier, so that its error
// belongs to that identifier.
bool ErrorShowsIdentifier(const MonitorRecord& record) {
  return record.IsExtendedHeader() ? !monitor::LogExtendedLineOmitsIdentifier(record)
                                   : !monitor::LogLineEndsAfterErrorColumn(record);
}

std::uint32_t ResponseBits(const MonitorRecord& record, const FrameBitsSetup& setup) {
  int length = 0;
  if (record.IsExtendedHeader()) {
    // No more bytes than the group carries, whatever a damaged header says.
    length = std::min(record.ExtLength(),
                      kExtendedHeaderBytes + kContinuationBytes * (record.GroupSize() - 1));
  } else {
    length = std::min<int>(setup.dataLengths[static_cast<std::size_t>(record.Identifier())],
                           monitor::kMergedDataLengthMax);
  }
  return kByteBits * static_cast<std::uint32_t>(length + 1);
}

}  // namespace

std::uint64_t IdentifierCounts::ErrorTotal() const {
  return std::accumulate(errors.begin(), errors.end(), std::uint64_t{0});
}

double IdentifierCounts::Jitter() const {
  return periods < 2 ? 0.0 : std::sqrt(periodSquares / static_cast<double>(periods));
}

FrameBitsSetup FrameBitsSetup::WithLengthCodes(std::uint32_t baud) {
  FrameBitsSetup setup;
  setup.baud = baud;
  for (int identifier = 0; identifier < monitor::kIdentifierCount; ++identifier) {
    setup.dataLengths[static_cast<std::size_t>(identifier)] =
        static_cast<std::uint8_t>(monitor::LengthCodeOf(static_cast<std::uint8_t>(identifier)));
  }
  return setup;
}

std::uint32_t FrameBits(const MonitorRecord& record, const FrameBitsSetup& setup) {
  if (record.IsErrorEvent()) {
    if (record.error == monitor::kErrorNoResponse) return kHeaderBits;
    if (record.error == monitor::kErrorChecksum) return kHeaderBits + ResponseBits(record, setup);
    return 0;
  }
  if (record.kind == monitor::kKindRequest) return kHeaderBits;
  if (record.kind == monitor::kKindEnd || record.kind == monitor::kKindSleep) {
    return kHeaderBits + ResponseBits(record, setup);
  }
  return 0;
}

void IdentifierStatistics::Add(std::span<const MonitorRecord> records) {
  for (const MonitorRecord& record : records) {
    ++records_;
    if (groupRecordsLeft_ > 0) {
      --groupRecordsLeft_;  // continuation bytes, not an event
      continue;
    }
    if (record.IsExtendedHeader()) {
      groupRecordsLeft_ = record.GroupSize() - 1;
      if (!monitor::IsLoggedExtendedKind(record.kind)) continue;
    }
    Count(record, Follow(record.time));
  }
}

void IdentifierStatistics::Gap() {
  for (IdentifierCounts& counts : identifiers_) counts.lastFrame.reset();
  groupRecordsLeft_ = 0;
}

void IdentifierStatistics::Reset() {
  Reset(setup_);
}

void IdentifierStatistics::Reset(const FrameBitsSetup& setup) {
  *this = IdentifierStatistics(setup);
}

const IdentifierCounts& IdentifierStatistics::Of(int identifier) const {
  return identifiers_[static_cast<std::size_t>(identifier & 0x3F)];
}

std::optional<double> IdentifierStatistics::Rate(const IdentifierCounts& counts) const {
  const std::int64_t span = SpanMs();
  if (span <= 0) return std::nullopt;
  return static_cast<double>(counts.frames) * kMillisecondsPerSecond / static_cast<double>(span);
}

double IdentifierStatistics::LoadPercent(std::uint64_t bits) const {
  return setup_.baud == 0 ? 0.0 : 100.0 * static_cast<double>(bits) / setup_.baud;
}

double IdentifierStatistics::MeanLoadPercent() const {
  const std::int64_t span = std::max(SpanMs(), kMillisecondsPerSecond);
  std::uint64_t bits = 0;
  for (const auto& [second, secondBits] : loadBits_) bits += secondBits;
  return LoadPercent(bits) * kMillisecondsPerSecond / static_cast<double>(span);
}

double IdentifierStatistics::PeakLoadPercent() const {
  std::uint64_t peak = 0;
  for (const auto& [second, bits] : loadBits_) peak = std::max(peak, bits);
  return LoadPercent(peak);
}

std::int64_t IdentifierStatistics::Follow(std::int32_t time) {
  const std::int64_t followed = followedTime_.Follow(time);
  earliest_ = timed_ ? std::min(earliest_, followed) : followed;
  latest_ = timed_ ? std::max(latest_, followed) : followed;
  timed_ = true;
  return followed;
}

void IdentifierStatistics::Count(const MonitorRecord& record, std::int64_t time) {
  IdentifierCounts& counts = identifiers_[static_cast<std::size_t>(record.Identifier())];
  if (record.IsErrorEvent()) {
    IdentifierCounts& owner = ErrorShowsIdentifier(record) ? counts : unidentified_;
    const bool named = record.error > 0 && record.error < kStatisticsErrorSlots;
    ++owner.errors[named ? record.error : 0];
    owner.lastSeen = std::int32_t{record.time};  // a copy: the record is packed
  } else if (IsFrameKind(record.kind)) {
    CountFrame(counts, time);
    counts.lastSeen = std::int32_t{record.time};
  }
  if (const std::uint32_t bits = FrameBits(record, setup_)) loadBits_[SecondOf(time)] += bits;
}

void IdentifierStatistics::CountFrame(IdentifierCounts& counts, std::int64_t time) {
  ++counts.frames;
  if (counts.lastFrame && time >= *counts.lastFrame) {
    const std::int64_t period = time - *counts.lastFrame;
    if (counts.periods == 0) {
      counts.periodMin = counts.periodMax = period;
    } else {
      counts.periodMin = std::min(counts.periodMin, period);
      counts.periodMax = std::max(counts.periodMax, period);
    }
    // Welford's running mean and squared deviations.
    ++counts.periods;
    const double delta = static_cast<double>(period) - counts.periodMean;
    counts.periodMean += delta / static_cast<double>(counts.periods);
    counts.periodSquares += delta * (static_cast<double>(period) - counts.periodMean);
  }
  counts.lastFrame = time;
}

}  // namespace orvane::views
