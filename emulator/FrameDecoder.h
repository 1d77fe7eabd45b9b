// How the analyzer unit reads a frame off the bus: with its own receiver
// baud rate and its own length table, whatever the sender meant.
//
// The unit samples every byte at its configured baud rate, so a bus running
// at another rate gives framing or sync-field errors instead of frames. It
// takes as many data bytes as its length table gives for the identifier and
// checks the next byte as the checksum in the table's model: a table that
// differs from the bus gives checksum or short-message errors, as on a real
// unit. Each frame yields one record, an extended frame (0x3E, 0x3F) a
// record group.
//
// A response the unit sent itself is a Tx record. An error in a frame the
// unit disturbed on purpose is a simulation error (kind 5 "Sim Err") with
// the error the unit read, naming the role the unit played (master or
// slave) and flagged Tx.
//
// Pure functions; any thread may call them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "emulator/BusEvent.h"
#include "emulator/UnitRecord.h"

namespace orvane::emulator {

// Dominant lengths, in the receiver's bit times, that the unit tells apart:
// below kMinShortBreakBits it is just a byte; up to kMinBreakBits a short
// break; above kMaxBreakBits a long break.
inline constexpr double kMinShortBreakBits = 9.5;
inline constexpr double kMinBreakBits = 11;
inline constexpr double kMaxBreakBits = 30;

struct ReceiverSetup {
  std::uint32_t baud = 9600;
  // Per identifier: bits 0-6 data length, bit 7 enhanced checksum.
  std::span<const std::uint8_t, 64> length_table;
};

struct SampledByte {
  std::uint8_t value = 0;
  bool stop_bit_ok = true;
};

// A byte sent at one baud rate as read by a receiver sampling in the middle
// of its own bit times; ratio = sender baud / receiver baud.
SampledByte SampleByte(std::uint8_t sent, double ratio);

// The record node of a bus sender (the unit itself is neither).
RecordNode RecordNodeOf(BusNode sender);

// The records for one frame, time-stamped `time` (the unit's millisecond
// counter when the frame ended).
std::vector<UnitRecord> DecodeFrame(const FrameOnBus& frame, const ReceiverSetup& setup,
                                    std::int32_t time);

}  // namespace orvane::emulator
