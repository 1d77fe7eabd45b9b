// The analyzer's time, int32 milliseconds, as the monitor views, the log,
// the statistics and the exports show and follow it.
//
// Text: " %02d:%02d:%02d.%03d     " for a time in milliseconds (hours not
// limited to 24), " -%02d:%02d:%02d.%03d     " for a negative time. Every
// int32 value, INT32_MIN included, is formatted exactly.
//
// Wrap: the analyzer's counter runs from INT32_MAX on to INT32_MIN; steps
// between times are taken modulo 2^32, so that wrap is a step of +1 ms and
// times followed step by step keep rising in 64 bits.
//
// Threads: pure functions, any thread; a FollowedTime is a plain value, used
// by one thread at a time.
#pragma once

#include <algorithm>
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

// The time text without its padding: "00:00:01.234", "-00:00:01.000".
inline std::string_view FormatMonitorTimeTrimmed(std::int32_t milliseconds, MonitorTimeText& text) {
  std::string_view padded = FormatMonitorTime(milliseconds, text);
  padded.remove_prefix(std::min(padded.find_first_not_of(' '), padded.size()));
  return padded.substr(0, padded.find_last_not_of(' ') + 1);
}

// The signed step from `from` to `to`, modulo 2^32.
constexpr std::int32_t AnalyzerTimeStep(std::int32_t from, std::int32_t to) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(to) -
                                   static_cast<std::uint32_t>(from));
}

// Follows a sequence of analyzer times across the wrap: the first time is
// taken as it is, each later one adds its step from the previous one.
class FollowedTime {
 public:
  std::int64_t Follow(std::int32_t time) {
    followed_ = started_ ? followed_ + AnalyzerTimeStep(last_, time) : time;
    started_ = true;
    last_ = time;
    return followed_;
  }

 private:
  bool started_ = false;
  std::int32_t last_ = 0;
  std::int64_t followed_ = 0;
};

}  // namespace orvane::monitor
