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
// While monitoring runs, the mode register decides the unit's part on the
// bus: in master simulation (2) it runs the active bank's schedule while the
// schedule switch 0x040F is on (UnitMaster); in slave simulation (1) it
// answers from the active bank's slave table (UnitSlaves). A bank taken
// with state 2, and MonitorStart, start the schedule over; a bank taken
// with state 1 replaces the table in force.
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
#include "emulator/MemoryMap.h"
#include "emulator/MonitorStream.h"
#include "emulator/OneShotMailbox.h"
#include "emulator/TableBanks.h"
#include "emulator/UnitMaster.h"
#include "emulator/UnitMemory.h"
#include "emulator/UnitReceiver.h"
#include "emulator/UnitSlaves.h"
#include "emulator/UnitTransmitter.h"

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

  // Connects the unit to the bus: it observes every event, sends its
  // one-shot entries and its schedule, and answers as simulated slaves
  // before any other responder. The bus must not outlive the firmware.
  void AttachTo(LinBus& bus);

  // Executes a command received at clock time `now`. The reply block, or
  // nothing when the unit does not answer.
  std::optional<std::vector<std::uint8_t>> Execute(const Command& command, std::int64_t now);

  // Bus events reach the receiver only while the firmware runs.
  void Observe(const BusEvent& event) override;

  // The header fields of the next monitor block as of `now`: bus
  // statistics and the master simulation counters (bytes 16-17 cycles
  // completed, 18-21 requests, 22-25 successes; see UnitMaster and
  // UnitReceiver).
  UnitBlockHeader BlockHeader(std::int64_t now);

  // Whether the unit is the bus master: the firmware runs in master
  // simulation mode. The demo network's own master is then silent.
  bool IsBusMaster() const;

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
  void TakeRequestedBank(std::int64_t now);
  // Lets the simulations run or stops them after a command at `now`.
  void UpdateSimulations(std::int64_t now);
  UnitMode mode() const { return static_cast<UnitMode>(memory_.RamByte(kModeRegister)); }

  UnitMemory memory_;
  MonitorStream monitor_;
  UnitReceiver receiver_;
  TableBanks banks_;
  UnitTransmitter transmitter_{memory_, receiver_};
  OneShotMailbox mailbox_{memory_, transmitter_};
  UnitMaster master_{memory_, banks_, transmitter_};
  UnitSlaves slaves_{memory_, banks_, transmitter_};
  FlashFaults flash_faults_;
  bool firmware_running_ = false;
};

}  // namespace orvane::emulator
