// The virtual analyzer: a software model of the LIN analyzer unit and of
// the LIN bus it is attached to, seen from the USB side.
//
// The driver backend `virtual` (link/driver) talks to it through the pipe
// level below: command packets are written to pipe 2, acknowledges and read
// replies come back on pipe 3, monitor blocks on pipe 0. Everything the unit
// does (memory map, flash, banks, mailbox, monitor, master and slave
// simulation, simulated bus) is inside; the bus is simulated up to the
// clock's time at every call.
//
// Threads: every public function is thread-safe (one internal lock). The
// monitor pipe is read by one thread while another exchanges commands;
// ReadMonitorPipe and ReadReplyPipe wait on the clock without holding the
// lock. Fault injection may come from any thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "emulator/AnalyzerProfile.h"
#include "emulator/Clock.h"

namespace orvane::emulator {

// USB identity of the virtual unit (descriptor bytes 4-5, 8-13).
inline constexpr std::uint8_t kDeviceClass = 0xFF;
inline constexpr std::uint8_t kDeviceSubclass = 0x00;
inline constexpr std::uint16_t kVendorId = 0x1209;
inline constexpr std::uint16_t kProductId = 0x4C49;
inline constexpr std::uint16_t kReleaseBcd = 0x0311;

// Replies the unit holds for a host that does not read them; further
// replies are lost.
inline constexpr std::size_t kMaxPendingReplies = 16;

// How long a read of the reply pipe waits for a reply that does not come
// before it fails, as a real pipe read times out.
inline constexpr Micros kReplyTimeout{100000};

class VirtualAnalyzer {
 public:
  // A unit just plugged in: boot program running, monitor stopped. The
  // profile chooses its serial number, its firmware and the bus it sits on.
  explicit VirtualAnalyzer(std::shared_ptr<Clock> clock, AnalyzerProfile profile = {});
  ~VirtualAnalyzer();
  VirtualAnalyzer(const VirtualAnalyzer&) = delete;
  VirtualAnalyzer& operator=(const VirtualAnalyzer&) = delete;

  // ---- USB level ------------------------------------------------------
  std::array<std::uint8_t, 18> DeviceDescriptor() const;
  // False while unplugged.
  bool IsPresent() const;

  // Pipe 2: one whole command packet per write. False when the unit is
  // unplugged or the packet is longer than 512 bytes. A malformed packet is
  // taken (true) and ignored: no reply follows.
  bool WriteCommandPipe(std::span<const std::uint8_t> packet);
  // Pipe 3: the next pending reply block, cut to the buffer's size. When no
  // reply is pending it waits kReplyTimeout on the clock and fails; it
  // fails at once while the unit is unplugged.
  bool ReadReplyPipe(std::span<std::uint8_t> buffer, std::size_t& delivered);
  // Pipe 0: the next monitor block (27-byte header plus records), cut to
  // the buffer's size. Waits on the clock until the block is due; a block
  // is due at least every 20 ms. Fails at once while unplugged.
  bool ReadMonitorPipe(std::span<std::uint8_t> buffer, std::size_t& delivered);

  Clock& clock() const;

  // ---- Fault injection --------------------------------------------------
  // Unplugging makes every pipe operation and IsPresent fail. Replugging
  // powers the unit on again: boot program, RAM defaults, no pending
  // replies, monitor stopped; flash keeps its contents.
  void Unplug();
  void Replug();
  // The reply to the next command that has one is never sent.
  void StallNextReply();
  // The reply to the next command that has one is corrupted: an
  // acknowledge loses its 0x55, a read reply echoes a wrong length.
  void GarbleNextReply();
  // The next monitor block announces `announced` records and fills a whole
  // 512-byte read (25 records and 10 bytes of a 26th).
  void AnnounceOversizedNextBlock(std::uint8_t announced);
  // While set, FrashErase / FrashWrite change nothing and get no acknowledge.
  void SetFlashEraseFails(bool fails);
  void SetFlashWriteFails(bool fails);
  // Changes the baud rate the bus runs at (the profile's at first). When it
  // differs from the rate the unit is configured for, the unit sees framing
  // or sync-field errors instead of frames.
  void SetBusBaud(std::uint32_t baud);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace orvane::emulator
