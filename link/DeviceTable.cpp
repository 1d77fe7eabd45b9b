#include "link/DeviceTable.h"

#include <algorithm>

namespace orlink {

int DeviceTable::Register(std::string_view path, driver::Handle handle) {
  if (path.size() >= kPathCapacity) return -1;
  std::lock_guard lock(mutex_);
  const auto free_entry = std::ranges::find_if(entries_, [](const Entry& entry) {
    return entry.handle.load() == driver::kInvalidHandle;
  });
  if (free_entry == entries_.end()) return -1;
  std::ranges::fill(free_entry->path, '\0');
  std::ranges::copy(path, free_entry->path.begin());
  free_entry->handle.store(handle);
  return static_cast<int>(free_entry - entries_.begin());
}

driver::Handle DeviceTable::HandleOf(int index) const {
  if (!IsValidIndex(index)) return driver::kInvalidHandle;
  return entries_[index].handle.load();
}

std::optional<std::string> DeviceTable::PathOf(int index) const {
  if (!IsValidIndex(index)) return std::nullopt;
  std::lock_guard lock(mutex_);
  const Entry& entry = entries_[index];
  if (entry.handle.load() == driver::kInvalidHandle) return std::nullopt;
  return std::string(entry.path.data());
}

void DeviceTable::Close(int index, driver::Driver& driver) {
  if (!IsValidIndex(index)) return;
  std::lock_guard lock(mutex_);
  CloseLocked(entries_[index], driver);
}

void DeviceTable::CloseAll(driver::Driver& driver) {
  std::lock_guard lock(mutex_);
  for (Entry& entry : entries_) CloseLocked(entry, driver);
}

void DeviceTable::CloseLocked(Entry& entry, driver::Driver& driver) {
  const driver::Handle handle = entry.handle.exchange(driver::kInvalidHandle);
  if (handle != driver::kInvalidHandle) driver.Close(handle);
  std::ranges::fill(entry.path, '\0');
}

}  // namespace orlink
