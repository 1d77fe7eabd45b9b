// Numbered test records and filling a monitor ring with them as the
// acquisition thread would.
#pragma once

#include "monitor/MonitorState.h"

namespace orvane::ui::testing {

// Record number `n` of a test sequence: identifier n % 64, time n ms, data
// bytes n, n+1, ...; every 7th record is an Error, every 5th sent (Tx).
inline monitor::MonitorRecord NumberedRecord(std::uint32_t n) {
  monitor::MonitorRecord record{};
  record.time = static_cast<std::int32_t>(n);
  record.node = monitor::kNodeMaster;
  record.kind = n % 7 == 3 ? monitor::kKindError : monitor::kKindEnd;
  record.error = n % 7 == 3 ? monitor::kErrorChecksum : monitor::kErrorNone;
  record.flags = n % 5 == 0 ? monitor::MonitorRecord::kTxFlag : 0;
  record.ident = static_cast<std::uint8_t>(n % 64);
  for (int i = 0; i < 8; ++i) record.data[i] = static_cast<std::uint8_t>(n + i);
  record.checksum = static_cast<std::uint8_t>(~n);
  return record;
}

// Writes records 0 to count − 1 into the ring as the acquisition thread
// would (record n at index n % capacity) and publishes the result.
inline void FillRing(monitor::MonitorRing& ring, std::uint32_t count) {
  auto records = ring.MutableRecords();
  for (std::uint32_t n = 0; n < count; ++n)
    records[n % monitor::MonitorCapacity] = NumberedRecord(n);
  ring.Publish(count % monitor::MonitorCapacity, count >= monitor::MonitorCapacity);
}

}  // namespace orvane::ui::testing
