// The Capture window's buffer: the last 500 events of the MonitorBuffer,
// frozen on the user's command while monitoring goes on.
//
// One application-wide CaptureBuffer, written and read on the user-interface
// thread. TakeCapture reads the MonitorBuffer without a lock while the
// acquisition thread may still append to it: it copies the records before
// the write index of the snapshot the caller took, and the copy is what the
// Capture window shows from then on.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "monitor/MonitorRecord.h"
#include "monitor/MonitorState.h"
#include "monitor/MonitorUpdate.h"

namespace orvane::views {

inline constexpr std::uint32_t kCaptureCapacity = 500;

struct CaptureBuffer {
  // The kept records, oldest first: extended frames merged into one record
  // each, as in the ViewBuffer.
  std::array<monitor::MonitorRecord, kCaptureCapacity> records{};
  // The raw records taken from the MonitorBuffer, oldest first.
  std::array<monitor::MonitorRecord, kCaptureCapacity> scratch{};
  // For each kept record the scratch index of its raw record (an extended
  // frame's header).
  std::array<std::uint16_t, kCaptureCapacity> rawIndex{};
  bool valid = false;
  std::uint32_t rawCount = 0;
  std::uint32_t keptCount = 0;

  std::span<const monitor::MonitorRecord> kept() const {
    return std::span(records).first(keptCount);
  }
};

// Takes the up to 500 raw records just before the snapshot's write index
// (across the end of the ring once it has wrapped) and compacts them:
// records of kind 16 or more are dropped, each extended-frame group becomes
// one merged record (a group that continues past the newest record taken is
// incomplete and dropped), and with the mask on only records of a masked
// identifier are kept. The capture becomes valid.
void TakeCapture(CaptureBuffer& capture,
                 std::span<const monitor::MonitorRecord> monitorBuffer,
                 monitor::RingSnapshot snapshot, const monitor::MonitorMask& mask);

// The raw records behind the kept ones, oldest first: an ordinary record as
// it is, an extended frame as its whole group, so that a log of the capture
// has one line per kept record with all of its data bytes.
std::vector<monitor::MonitorRecord> KeptRawRecords(const CaptureBuffer& capture);

// Discards the capture (start of a measurement).
void DiscardCapture(CaptureBuffer& capture);

}  // namespace orvane::views
