// The byte images the unit sends on its monitor pipe: a 27-byte block header
// followed by up to 25 records of 19 bytes. Little-endian, as the machine is.
//
// Plain values; any thread may use them.
#pragma once

#include <cstdint>

namespace orvane::emulator {

enum class RecordKind : std::uint8_t {
  kRequest = 0,  // header seen, no response expected (configured length 0)
  kEnd = 1,      // complete frame
  kSleep = 2,    // go-to-sleep command
  kWakeup = 3,
  kError = 4,
  kSimulationError = 5,
  kIoFirst = 10,  // channel c rising edge = 10 + 2c, falling edge = 11 + 2c
};

enum class RecordError : std::uint8_t {
  kNone = 0,
  kParity = 1,
  kChecksum = 2,
  kShortMessage = 3,
  kBit = 4,
  kNoResponse = 5,
  kSyncBreakLong = 6,
  kSyncField = 7,
  kOverrun = 8,
  kFraming = 9,
  kBuffer = 10,
  kSyncBreakShort = 11,
  kBus = 12,
};

enum class RecordNode : std::uint8_t { kMaster = 1, kSlave = 2, kNeither = 3 };

enum class BusState : std::uint8_t { kRun = 0, kSleep = 1, kWakeup = 2, kError = 3 };

inline constexpr std::uint8_t kRecordTxFlag = 0x80;
inline constexpr std::uint8_t kSyncByte = 0x55;

#pragma pack(push, 1)

struct UnitRecord {
  std::int32_t time = 0;  // the unit's millisecond counter
  std::uint8_t node = 0;
  std::uint8_t flags = 0;  // bit 7 Tx; bits 0-3 extended-frame group size
  std::uint8_t kind = 0;
  std::uint8_t error = 0;
  std::uint8_t ident = 0;  // protected identifier as received
  std::uint8_t sync = 0;
  std::uint8_t data[8] = {};
  std::uint8_t checksum = 0;
};

struct UnitBlockHeader {
  std::uint32_t packet_total = 0;
  std::uint16_t bus_load = 0;  // 0.1 percent
  std::uint8_t bus_state = 0;  // BusState
  std::uint8_t reserved[9] = {};
  // Master simulation since its schedule started: cycles completed
  // ("Count"), frames whose header the unit sent, and those of them read
  // back without an error ("Success/Request" shows successes / requests).
  std::uint16_t simulation_count = 0;
  std::uint32_t simulation_requests = 0;
  std::uint32_t simulation_successes = 0;
  std::uint8_t record_count = 0;
};

#pragma pack(pop)

static_assert(sizeof(UnitRecord) == 19);
static_assert(sizeof(UnitBlockHeader) == 27);

}  // namespace orvane::emulator
