// What the analyzer unit puts on the bus for a table entry, as the master
// (schedule entries and one-shot frames) or as a simulated slave (slave
// table entries).
//
// As master, at the unit's configured baud rate, by the entry's kind:
//   Rx, extended Rx   the header; the first responder on the bus answers
//   Tx, extended Tx   header and the entry's data
//   extended file     header and the data of extended file `data[0]` (0-3)
//                     at 0x1A00 + 0x100 x index, `data[1-2]` bytes long (at
//                     most 256; a larger length is cut to the file area)
//   error             header and the entry's data with the error of the low
//                     nibble injected (an extended-file entry's low nibble
//                     injects the same way)
//   Sleep             the go-to-sleep command 0x3C 00 ff ff ff ff ff ff ff
//   Wakeup            the wake-up signal of the LIN revision in 0x0415:
//                     LIN 2.0 a dominant pulse of 0x0413 microseconds, LIN
//                     1.3 the character 0x80 (8 dominant bit times)
//   none, unknown     nothing
// An ordinary frame carries as many data bytes as the length table gives
// for its identifier (at most 8) and the checksum the table names (classic
// or enhanced); an extended frame (0x3E, 0x3F) its data and the classic
// checksum. Error codes: 1 Parity, 2 CheckSum, 3 ShortMsg, 5 No Res, 6
// SyncBreak-L, 7 SyncField, 9 Framing, 11 SyncBreak-S; a code that no fault
// causes (0 among them) sends the frame undisturbed.
//
// As slave, an entry of kind Tx answers with its data and checksum as
// above; kind 0x7X answers with the response-side fault X (2 CheckSum, 3
// ShortMsg, 5 No Res, 9 Framing) and plainly for any other X, since header
// faults are the master's. Other kinds do not answer.
//
// Not thread-safe; owned by the firmware.
#pragma once

#include <cstdint>
#include <optional>

#include "emulator/BusEvent.h"
#include "emulator/LinBus.h"
#include "emulator/TableEntry.h"
#include "emulator/UnitMemory.h"
#include "emulator/UnitReceiver.h"

namespace orvane::emulator {

class UnitTransmitter {
 public:
  UnitTransmitter(const UnitMemory& memory, const UnitReceiver& receiver)
      : memory_(memory), receiver_(receiver) {}

  // Whether the entry puts anything on the bus as master.
  bool SendsAsMaster(const TableEntry& entry) const;
  // The entry as master at `start`; nothing when it sends nothing.
  std::optional<BusEvent> AsMaster(const TableEntry& entry, std::int64_t start,
                                   BusContext& bus) const;
  // The entry's answer to the header `protected_id`, whose identifier the
  // entry holds; nothing when its kind does not answer.
  std::optional<Response> AsSlave(const TableEntry& entry, std::uint8_t protected_id) const;

 private:
  FrameOnBus Header(std::uint8_t identifier, std::int64_t start) const;
  // The header with `data` and its checksum, sent by the unit as master.
  FrameOnBus Published(std::uint8_t identifier, std::span<const std::uint8_t> data,
                       std::int64_t start) const;
  std::vector<std::uint8_t> WithItsChecksum(std::uint8_t protected_id,
                                            std::span<const std::uint8_t> data) const;
  // The entry's data bytes as the length table sizes them.
  std::span<const std::uint8_t> DataOf(const TableEntry& entry) const;
  std::optional<std::span<const std::uint8_t>> ExtendedFileData(const TableEntry& entry) const;
  WakeupPulse Wakeup(std::int64_t start) const;

  const UnitMemory& memory_;
  const UnitReceiver& receiver_;
};

}  // namespace orvane::emulator
