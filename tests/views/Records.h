// Monitor records for the view tests.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "monitor/MonitorRecord.h"

namespace orvane::views::testing {

inline monitor::MonitorRecord Record(std::uint8_t kind, std::uint8_t ident,
                                     std::initializer_list<std::uint8_t> data = {},
                                     std::int32_t time = 0) {
  monitor::MonitorRecord record{};
  record.time = time;
  record.node = monitor::kNodeMaster;
  record.kind = kind;
  record.ident = ident;
  std::uint8_t* out = record.data;
  for (std::uint8_t byte : data) *out++ = byte;
  return record;
}

inline monitor::MonitorRecord EndFrame(std::uint8_t ident, std::initializer_list<std::uint8_t> data,
                                       std::int32_t time = 0) {
  return Record(monitor::kKindEnd, ident, data, time);
}

}  // namespace orvane::views::testing
