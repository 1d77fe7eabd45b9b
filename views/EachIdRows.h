// The rows of the Each ID window: one per EachIdTable slot whose seen flag
// is set, in slot order (identifiers, or their node-order slots, then
// wake-up, the I/O events and errors last). The window scrolls by whole
// rows: the first rows of the list are skipped.
//
// Reads the seen flags with acquire, as the acquisition thread publishes a
// slot's record before its flag, and takes a consistent copy of each row's
// record; any thread.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "monitor/MonitorState.h"

namespace orvane::views {

struct EachIdPage {
  std::array<std::uint8_t, monitor::kEachIdSlotCount> slots{};
  // The record of each row's slot as it was when the page was made.
  std::array<monitor::MonitorRecord, monitor::kEachIdSlotCount> records{};
  int rows = 0;

  std::span<const std::uint8_t> Slots() const { return std::span(slots).first(rows); }
  std::span<const monitor::MonitorRecord> Records() const {
    return std::span(records).first(rows);
  }
};

// Slots whose seen flag is set.
int SeenSlotCount(const monitor::EachIdSlots& table);

// The seen slots from the `firstRow`-th on (0 = the first seen slot), at
// most `recordRows` of them.
EachIdPage EachIdRows(const monitor::EachIdSlots& table, int firstRow, int recordRows);

}  // namespace orvane::views
