// The time text shared by the monitor views and the log:
// " %02d:%02d:%02d.%03d     " for a time in milliseconds (hours not limited
// to 24), " -%02d:%02d:%02d.%03d     " for a negative time. Every int32
// value, INT32_MIN included, is formatted exactly.
//
// Threads: pure functions; any thread.
#pragma once

#include <cstdint>
#include <string_view>

#include "monitor/TextBuffer.h"

namespace orvane::monitor {

// Room for the longest text, " -596:31:23.648     ", and its NUL.
using MonitorTimeText = TextBuffer<24>;

// Appends the time text for `milliseconds` to a line being built.
template <std::size_t Capacity>
void AppendMonitorTime(TextBuffer<Capacity>& text, std::int32_t milliseconds) {
  // 64 bits: the magnitude of INT32_MIN does not fit into an int32.
  const std::int64_t signedTime = milliseconds;
  const std::uint64_t magnitude =
      static_cast<std::uint64_t>(signedTime < 0 ? -signedTime : signedTime);
  text.Append(milliseconds < 0 ? " -" : " ");
  text.AppendDecimal(magnitude / 3600000, 2);
  text.Append(":");
  text.AppendDecimal(magnitude / 60000 % 60, 2);
  text.Append(":");
  text.AppendDecimal(magnitude / 1000 % 60, 2);
  text.Append(".");
  text.AppendDecimal(magnitude % 1000, 3);
  text.Append("     ");
}

// Replaces the content of `text` with the time text and returns it.
inline std::string_view FormatMonitorTime(std::int32_t milliseconds, MonitorTimeText& text) {
  text.Clear();
  AppendMonitorTime(text, milliseconds);
  return text.View();
}

}  // namespace orvane::monitor
