// Builders of monitor records for the monitor tests.
#pragma once

#include <cstdint>
#include <vector>

#include "monitor/MonitorRecord.h"

namespace orvane::monitor::test {

inline MonitorRecord Frame(std::int32_t time, std::uint8_t ident, std::uint8_t kind = kKindEnd) {
  MonitorRecord record{};
  record.time = time;
  record.node = kNodeMaster;
  record.kind = kind;
  record.ident = ident;
  return record;
}

// An extended frame of `length` data bytes 1, 2, 3, ... as the analyzer
// delivers it: a header carrying 7 data bytes and continuation records of 19.
inline std::vector<MonitorRecord> ExtendedGroup(std::int32_t time, std::uint8_t ident, int length) {
  const int records = length <= 7 ? 1 : 1 + (length - 7 + 18) / 19;
  std::vector<MonitorRecord> group(static_cast<std::size_t>(records));
  MonitorRecord& header = group[0];
  header = Frame(time, ident);
  header.flags = static_cast<std::uint8_t>(records);
  header.SetExtLength(static_cast<std::uint16_t>(length));
  for (int index = 0; index < length; ++index) {
    const int byte = index < 7 ? 12 + index : 19 * (1 + (index - 7) / 19) + (index - 7) % 19;
    group[static_cast<std::size_t>(byte / 19)].MutableBytes()[static_cast<std::size_t>(byte % 19)] =
        static_cast<std::uint8_t>(index + 1);
  }
  return group;
}

}  // namespace orvane::monitor::test
