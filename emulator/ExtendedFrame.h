// Extended frames (identifiers 0x3E and 0x3F) travel to the host as a group
// of records: a header record whose flags bits 0-3 give the group size n
// (itself included), whose bytes 10-11 hold the data length (little-endian)
// and bytes 12-18 the first 7 data bytes; then n - 1 records of 19 further
// data bytes each.
//
// Pure functions; any thread may call them.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "emulator/UnitRecord.h"

namespace orvane::emulator {

inline constexpr std::size_t kExtendedHeaderBytes = 7;
inline constexpr std::size_t kExtendedContinuationBytes = 19;
inline constexpr std::size_t kMaxExtendedGroup = 15;
// What a group of 15 records can carry; longer data is cut to it.
inline constexpr std::size_t kMaxExtendedBytes =
    kExtendedHeaderBytes + (kMaxExtendedGroup - 1) * kExtendedContinuationBytes;

// The group for `data`, taking time, node, Tx flag, kind, error, ident and
// sync from `header`.
std::vector<UnitRecord> MakeExtendedFrameRecords(UnitRecord header, std::span<const std::uint8_t> data);

}  // namespace orvane::emulator
