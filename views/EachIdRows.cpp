#include "views/EachIdRows.h"

namespace orvane::views {
namespace {

bool Seen(const monitor::EachIdSlots& table, int slot) {
  return table.seen[static_cast<std::size_t>(slot)].load(std::memory_order_acquire);
}

}  // namespace

int SeenSlotCount(const monitor::EachIdSlots& table) {
  int count = 0;
  for (int slot = 0; slot < monitor::kEachIdSlotCount; ++slot) count += Seen(table, slot) ? 1 : 0;
  return count;
}

EachIdPage EachIdRows(const monitor::EachIdSlots& table, int firstRow, int recordRows) {
  EachIdPage page;
  int skipped = 0;
  for (int slot = 0; slot < monitor::kEachIdSlotCount && page.rows < recordRows; ++slot) {
    if (!Seen(table, slot)) continue;
    if (skipped++ < firstRow) continue;
    const auto row = static_cast<std::size_t>(page.rows++);
    page.slots[row] = static_cast<std::uint8_t>(slot);
    page.records[row] = table.records[static_cast<std::size_t>(slot)].Load();
  }
  return page;
}

}  // namespace orvane::views
