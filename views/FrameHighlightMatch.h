// Which special frame condition marks a monitored record: the monitor and
// capture windows colour a row by the first enabled condition that matches
// (1 red, 2 blue, 3 green, 4 purple).
//
// Pure functions over plain records; any thread. The views call them on
// their own copies of the conditions and of the data length table.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "settings/FrameHighlightCondition.h"
#include "monitor/MonitorRecord.h"

namespace orvane::views {

// An I/O event condition matches the record of its I/O event (kind 10 + the
// event number). A frame condition matches an End or Sleep record (kind low
// nibble 1 or 2) of its identifier whose first `dataLength` data bytes agree
// with every "0" and "1" of the condition's bit patterns; patterns of the
// bytes from `dataLength` on are ignored. Whether the condition is enabled
// is not looked at.
bool Match(const monitor::MonitorRecord& record, const settings::FrameHighlightCondition& condition,
           int dataLength);

// The index (0-3) of the first enabled condition that matches, with each
// condition's data length taken from `dataLengths` (per identifier).
std::optional<std::size_t> FrameHighlightIndex(const monitor::MonitorRecord& record,
                                             const settings::FrameHighlightConditions& conditions,
                                             std::span<const std::uint8_t, 64> dataLengths);

}  // namespace orvane::views
