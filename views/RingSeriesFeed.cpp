#include "views/RingSeriesFeed.h"

namespace orvane::views {

bool CarriesSignals(const monitor::MonitorRecord& record) {
  return record.kind == monitor::kKindEnd && record.error == monitor::kErrorNone &&
         !record.IsExtendedHeader();
}

void AppendSignalRecords(std::span<const monitor::MonitorRecord> records,
                         signals::SignalSeriesSet& series) {
  for (const monitor::MonitorRecord& record : records) {
    if (!CarriesSignals(record)) continue;
    series.AppendFrame(record.time, record.Identifier(),
                       std::span<const std::uint8_t, signals::kDataBytes>(record.data));
  }
}

bool RingSeriesFeed::Update(const monitor::MonitorRing& ring, signals::SignalSeriesSet& series) {
  const RingBatch batch = follower_.Next(ring);
  // An empty ring read again leaves empty series as they are.
  const bool restart = batch.fromOldest && (batch.size() > 0 || series.HasTime());
  if (restart) series.Clear();
  AppendSignalRecords(batch.older, series);
  AppendSignalRecords(batch.newer, series);
  const monitor::RingSnapshot now = ring.Snapshot();
  if (now.wrapped && series.HasTime()) {
    series.DropBefore(series.AxisTime(ring.Records()[now.Oldest()].time));
  }
  return restart;
}

}  // namespace orvane::views
