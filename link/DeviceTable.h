// The table of opened devices behind the Uusbd_* functions.
//
// 128 entries, each a device path (at most 260 bytes with its terminator)
// and the device handle opened on it; an entry is in use exactly when its
// handle is valid. A device is named by its index 0-127; any other index
// names no entry in use.
//
// Threads: registration and release take the table's lock, so two threads
// opening or closing at once never take the same entry. Handle lookups are
// lock-free atomic reads; the path is copied out under the lock.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "link/driver/Driver.h"

namespace orlink {

class DeviceTable {
 public:
  static constexpr int kCapacity = 128;
  // Longest path an entry holds, its terminator included.
  static constexpr std::size_t kPathCapacity = 260;

  // Stores handle and path in the first free entry and returns its index;
  // -1 when every entry is in use or the path does not fit an entry. The
  // handle stays the caller's when registration fails.
  int Register(std::string_view path, driver::Handle handle);

  // The entry's device handle; kInvalidHandle when the index names no entry
  // in use.
  driver::Handle HandleOf(int index) const;

  // The entry's device path, or nothing when the index names no entry in use.
  std::optional<std::string> PathOf(int index) const;

  // Closes the entry's handle through the driver and frees the entry.
  // Nothing happens when the index names no entry in use.
  void Close(int index, driver::Driver& driver);

  // Closes every entry in use (library unload, change of driver).
  void CloseAll(driver::Driver& driver);

 private:
  struct Entry {
    std::array<char, kPathCapacity> path{};
    std::atomic<driver::Handle> handle{driver::kInvalidHandle};
  };

  static bool IsValidIndex(int index) { return index >= 0 && index < kCapacity; }
  void CloseLocked(Entry& entry, driver::Driver& driver);

  mutable std::mutex mutex_;
  std::array<Entry, kCapacity> entries_;
};

}  // namespace orlink
