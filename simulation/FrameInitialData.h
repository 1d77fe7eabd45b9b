// The data bytes a frame of a LIN description carries before anything has
// changed: each signal's initial value at its bit offset. Pure functions;
// any thread.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "signals/LinDescription.h"
#include "simulation/SimRecords.h"

namespace orvane::simulation {

// Writes the low `size` bits of `value` (at most 64) into `data`: bit k is
// data bit offset + k, where data bit b is bit b % 8 of byte b / 8 (least
// significant bit first, as signals::ExtractRawValue reads it). Bits beyond
// the 64 data bits are dropped; the other data bits keep their values.
void InsertRawValue(std::span<std::uint8_t, kSlotDataSize> data, std::uint32_t bitOffset,
                    std::uint32_t size, std::uint64_t value);

// The frame's signals' initial values placed into eight bytes, zero
// elsewhere (also beyond the frame's length). `signals` are the ones the
// frame's entries index: a description's signals, or its diagnostic signals
// for a diagnostic frame.
std::array<std::uint8_t, kSlotDataSize> FrameInitialData(std::span<const signals::Signal> signals,
                                                         const signals::Frame& frame);

}  // namespace orvane::simulation
