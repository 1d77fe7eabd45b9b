// The unit's command processor: the boot program until TargetGo, then the
// analyzer firmware.
//
// Both answer memory and flash commands: MemoryWrite, MemoryRead,
// MemoryReadEx, FrashErase and FrashWrite (the firmware update runs under
// either). TargetGo starts the firmware (under the firmware it is simply
// acknowledged). Only the firmware monitors the bus and acts on register
// writes; the boot program leaves MonitorStart and MonitorStop unanswered,
// so a host that forgets TargetGo sees them fail.
//
// Under the firmware, register writes take effect at once: frame timing
// sets the receiver's baud rate, bank state bytes hand banks over
// (TableBanks), the one-shot handshake queues the mailbox entry
// (OneShotMailbox). The firmware observes the bus through its receiver.
//
// A command that cannot be carried out gets no reply, as on the unit: a
// write past the end of RAM, a flash command outside the flash window or
// refused by an injected flash fault, a read larger than one reply block.
//
// Not thread-safe; the owner serialises access.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "emulator/AnalyzerProfile.h"
#include "emulator/CommandPacket.h"
#include "emulator/LinBus.h"
#include "emulator/MonitorStream.h"
#include "emulator/OneShotMailbox.h"
#include "emulator/TableBanks.h"
#include "emulator/UnitMemory.h"
#include "emulator/UnitReceiver.h"

namespace orvane::emulator {

struct FlashFaults {
  bool erase_fails = false;  // FrashErase changes nothing and is not acknowledged
  bool write_fails = false;  // FrashWrite changes nothing and is not acknowledged
};

class Firmware final : public BusObserver {
 public:
  explicit Firmware(const AnalyzerProfile& profile);
  Firmware(const Firmware&) = delete;
  Firmware& operator=(const Firmware&) = delete;

  // Connects the unit to the bus: it observes every event and sends its
  // one-shot entries. The bus must not outlive the firmware.
  void AttachTo(LinBus& bus);

  // Executes a command received at clock time `now`. The reply block, or
  // nothing when the unit does not answer.
  std::optional<std::vector<std::uint8_t>> Execute(const Command& command, std::int64_t now);

  // Bus events reach the receiver only while the firmware runs.
  void Observe(const BusEvent& event) override;

  // The header fields of the next monitor block as of `now`.
  UnitBlockHeader BlockHeader(std::int64_t now) { return receiver_.Header(now); }

  // Power-on: boot program, RAM defaults, monitor stopped and empty. Flash
  // keeps its contents.
  void PowerOn();

  MonitorStream& monitor() { return monitor_; }
  FlashFaults& flash_faults() { return flash_faults_; }

 private:
  bool WriteMemory(const Command& command, std::int64_t now);
  bool EraseFlash(std::uint32_t address);
  bool WriteFlash(const Command& command);
  std::optional<std::vector<std::uint8_t>> ReadMemory(const Command& command) const;

  UnitMemory memory_;
  MonitorStream monitor_;
  UnitReceiver receiver_{memory_, monitor_};
  TableBanks banks_;
  OneShotMailbox mailbox_{memory_, receiver_};
  FlashFaults flash_faults_;
  bool firmware_running_ = false;
};

}  // namespace orvane::emulator
