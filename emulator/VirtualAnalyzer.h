// The virtual analyzer: a software model of the LIN analyzer unit and of
// the LIN bus it is attached to, seen from the USB side.
//
// The driver backend `virtual` (link/driver) talks to it through the pipe
// level below: command packets are written to pipe 2, acknowledges and read
// replies come back on pipe 3, monitor blocks on pipe 0. Everything the unit
// does (memory map, flash, banks, mailbox, monitor, simulated bus) is
// inside. All public functions are thread-safe: the monitor pipe is read by
// one thread while another exchanges commands.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "emulator/Clock.h"

namespace orvane::emulator {

// USB identity of the virtual unit (descriptor bytes 4-5, 8-13).
inline constexpr std::uint8_t kDeviceClass = 0xFF;
inline constexpr std::uint8_t kDeviceSubclass = 0x00;
inline constexpr std::uint16_t kVendorId = 0x1209;
inline constexpr std::uint16_t kProductId = 0x4C49;
inline constexpr std::uint16_t kReleaseBcd = 0x0311;

class VirtualAnalyzer {
 public:
  explicit VirtualAnalyzer(std::shared_ptr<Clock> clock);
  ~VirtualAnalyzer();
  VirtualAnalyzer(const VirtualAnalyzer&) = delete;
  VirtualAnalyzer& operator=(const VirtualAnalyzer&) = delete;

  // ---- USB level ------------------------------------------------------
  std::array<std::uint8_t, 18> DeviceDescriptor() const;
  // False while unplugged.
  bool IsPresent() const;

  // Pipe 2: one whole command packet per write. False when the unit is
  // unplugged or the packet cannot be taken.
  bool WriteCommandPipe(std::span<const std::uint8_t> packet);
  // Pipe 3: the next pending reply block. False when the unit is unplugged
  // or no reply comes (a real pipe would time out).
  bool ReadReplyPipe(std::span<std::uint8_t> buffer, std::size_t& delivered);
  // Pipe 0: the next monitor block (27-byte header plus records). Waits on
  // the clock until the block is due; a block is due at least every 20 ms.
  bool ReadMonitorPipe(std::span<std::uint8_t> buffer, std::size_t& delivered);

  Clock& clock() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace orvane::emulator
