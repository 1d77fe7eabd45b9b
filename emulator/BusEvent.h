// What happens on the simulated LIN bus and on the unit's I/O lines, as a
// sequence of events with their times in clock microseconds.
//
// A frame is described as its sender put it on the wire, including any
// disturbance (a short break, a wrong sync byte, a broken stop bit); how the
// analyzer unit reads it is the unit's business (FrameDecoder).
//
// Plain values; any thread may use them.
#pragma once

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

#include "emulator/LinFrame.h"

namespace orvane::emulator {

// Who drives the bus: a node in the master or a slave role, or the
// analyzer unit on its own (its wake-up signals).
enum class BusNode : std::uint8_t { kMaster, kSlave, kAnalyzer };

// Nominal frame timing in bit times.
inline constexpr double kNominalBreakBits = 13;
inline constexpr double kBreakDelimiterBits = 1;
inline constexpr double kByteBits = 10;  // start bit, 8 data bits, stop bit

struct FrameOnBus {
  std::int64_t start = 0;  // the break begins
  std::uint32_t baud = 9600;
  double break_bits = kNominalBreakBits;
  std::uint8_t sync = 0x55;
  std::uint8_t protected_id = 0;
  bool pid_stop_bit_broken = false;
  BusNode publisher = BusNode::kSlave;  // role of the response's sender: kMaster or kSlave
  std::vector<std::uint8_t> response;   // data bytes and checksum as sent; empty: no response
  // The analyzer unit sent the header (as the master simulation) or the
  // response (as master or as a simulated slave).
  bool header_by_unit = false;
  bool response_by_unit = false;
  // Error code (as in a monitor record) of a fault the unit put into this
  // frame on purpose; 0 = none.
  std::uint8_t simulated_error = 0;
  std::optional<std::size_t> broken_stop_bit;  // index into response of a byte whose stop bit is 0
  double response_space_bits = 2;
  double byte_space_bits = 1;

  std::int64_t HeaderEnd() const;
  std::int64_t End() const;
};

struct WakeupPulse {
  std::int64_t start = 0;
  std::int64_t length = 250;  // microseconds dominant
  BusNode sender = BusNode::kSlave;

  std::int64_t End() const { return start + length; }
};

// An edge on one of the unit's three digital input lines (not on the bus).
struct IoEdge {
  std::int64_t time = 0;
  int channel = 0;  // 0-2
  bool rising = true;

  std::int64_t End() const { return time; }
};

using BusEvent = std::variant<FrameOnBus, WakeupPulse, IoEdge>;

std::int64_t EventEnd(const BusEvent& event);
// Whether the event keeps the bus busy (I/O edges do not).
bool OccupiesBus(const BusEvent& event);

// A go-to-sleep command: identifier 0x3C with first data byte 0x00.
bool IsGoToSleep(const FrameOnBus& frame);

// The go-to-sleep command a master sends: identifier 0x3C, data 00 ff ff ff
// ff ff ff ff and the classic checksum.
FrameOnBus GoToSleepFrame(std::int64_t start, std::uint32_t baud);

}  // namespace orvane::emulator
