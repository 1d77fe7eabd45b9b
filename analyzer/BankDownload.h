// Downloading a master schedule or the slave table into the analyzer's free
// table bank.
//
// The analyzer runs from one of two banks. 0x0416 names the bank for the
// next download; each bank has a state byte (0 free, 3 taken by the
// analyzer, 1 or 2 written by the program and not yet taken). A download
// polls the named bank's state until it is free, or, once it has seen the
// bank pending, until the analyzer takes it (then the other bank is the free
// one); it writes the table and then the state byte. Polling gives up once
// the accumulated waiting exceeds 2000 ms, so a download blocks the calling
// (user-interface) thread for at most a little over 2 seconds.
//
// Tables are raw SimEntry bytes: 32 entries (448 bytes) of a ScheduleTable,
// 16 entries (224 bytes) of the slave table. Each function returns false on
// a failed command or when polling gives up.
#pragma once

#include <cstdint>
#include <span>

#include "analyzer/RegisterMap.h"

namespace orvane::analyzer {

// A schedule that is to be started: state 2, then 0x0410 = 1 when it is to
// run once (0 when it repeats); the result is that last write's. Polls every 10 ms.
bool DownloadMasterSchedule(const RegisterMap& map,
                            std::span<const std::uint8_t, kBankTableSize> table, bool runOnce);

// A schedule changed while it runs: state 1. Once the table data has been
// written, the upper 4 bits of the first byte of each of the 32 entries are
// cleared in the caller's copy, whatever the state write gives; the result is
// the state write's. Polls every 3 ms.
bool DownloadMasterScheduleRunning(const RegisterMap& map,
                                   std::span<std::uint8_t, kBankTableSize> table);

// The slave table: state 1. If the first state read is 3, 0x0416 is read
// again and the bank it names now is polled. Polls every 3 ms.
bool DownloadSlaveTable(const RegisterMap& map,
                        std::span<const std::uint8_t, kSlaveTableSize> table);

}  // namespace orvane::analyzer
