#include "views/Capture.h"

#include <algorithm>

namespace orvane::views {
namespace {

constexpr std::uint8_t kFirstInvalidKind = 16;

void CopyRawRecords(CaptureBuffer& capture,
                    std::span<const monitor::MonitorRecord> ring,
                    monitor::RingSnapshot snapshot) {
  const std::uint32_t available = snapshot.Count();
  const std::uint32_t taken = std::min(available, kCaptureCapacity);
  for (std::uint32_t i = 0; i < taken; ++i) {
    capture.scratch[i] = ring[snapshot.IndexOf(available - taken + i)];
  }
  capture.rawCount = taken;
}

void Compact(CaptureBuffer& capture, const monitor::MonitorMask& mask) {
  const std::span<const monitor::MonitorRecord> raw =
      std::span(capture.scratch).first(capture.rawCount);
  const std::uint64_t visible = mask.VisibleIdentifiers();
  std::uint32_t kept = 0;
  std::size_t i = 0;
  while (i < raw.size()) {
    const monitor::MonitorRecord& record = raw[i];
    if (record.kind >= kFirstInvalidKind) {
      ++i;
      continue;
    }
    monitor::MonitorRecord shown = record;
    std::size_t step = 1;
    if (record.IsExtendedHeader()) {
      step = static_cast<std::size_t>(record.GroupSize());
      // The continuation records were not taken: reading on would run past
      // the records taken, so the group is left out.
      if (i + step > raw.size()) break;
      shown = monitor::MergeExtendedHeader(record, step >= 2 ? &raw[i + 1] : nullptr);
    }
    if (monitor::MonitorMask::IsVisible(record, visible)) {
      capture.rawIndex[kept] = static_cast<std::uint16_t>(i);
      capture.records[kept++] = shown;
    }
    i += step;
  }
  capture.keptCount = kept;
}

}  // namespace

void TakeCapture(CaptureBuffer& capture,
                 std::span<const monitor::MonitorRecord> monitorBuffer,
                 monitor::RingSnapshot snapshot, const monitor::MonitorMask& mask) {
  capture.valid = true;
  CopyRawRecords(capture, monitorBuffer, snapshot);
  Compact(capture, mask);
}

std::vector<monitor::MonitorRecord> KeptRawRecords(const CaptureBuffer& capture) {
  std::vector<monitor::MonitorRecord> raw;
  for (const std::uint16_t first : std::span(capture.rawIndex).first(capture.keptCount)) {
    const monitor::MonitorRecord& record = capture.scratch[first];
    const int size = record.IsExtendedHeader() ? record.GroupSize() : 1;
    const auto group = capture.scratch.begin() + first;
    raw.insert(raw.end(), group, group + size);
  }
  return raw;
}

void DiscardCapture(CaptureBuffer& capture) {
  capture.valid = false;
  capture.rawCount = 0;
  capture.keptCount = 0;
}

}  // namespace orvane::views
