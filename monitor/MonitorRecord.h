// The byte-exact records the analyzer delivers on its monitor pipe: one
// 19-byte MonitorRecord per observed bus event and one 27-byte
// MonitorBlockHeader in front of every block of records. Both are kept raw
// everywhere (rings, tables, capture buffer); views and the log decode them
// through the accessors below. Multi-byte fields are little-endian, as the
// machine is.
//
// Threads: plain values without shared state; any thread may use them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

namespace orvane::monitor {

// Event kinds of MonitorRecord::kind. Error events are recognised by the low
// 4 bits only (IsErrorEvent); the other kinds compare against the whole byte.
enum MonitorKind : std::uint8_t {
  kKindRequest = 0,
  kKindEnd = 1,  // a complete frame
  kKindSleep = 2,
  kKindWakeup = 3,
  kKindError = 4,
  kKindSimulationError = 5,
  kKindBusSleep = 6,
  kKindMasterBreak = 7,
  kKindIoFirst = 10,  // I/O channel 1 rising edge; 11 falling, 12-13 channel 2, 14-15 channel 3
  kKindIoLast = 15,
};

// Error codes of MonitorRecord::error; 0 is no error.
enum MonitorError : std::uint8_t {
  kErrorNone = 0,
  kErrorParity = 1,
  kErrorChecksum = 2,
  kErrorShortMessage = 3,
  kErrorBit = 4,
  kErrorNoResponse = 5,
  kErrorSyncBreakLong = 6,
  kErrorSyncField = 7,
  kErrorOverrun = 8,
  kErrorFraming = 9,
  kErrorBuffer = 10,
  kErrorSyncBreakShort = 11,
  kErrorBus = 12,
};

// Values of MonitorRecord::node; any other value is shown like kNodeNeither.
enum MonitorNode : std::uint8_t {
  kNodeMaster = 1,
  kNodeSlave = 2,
  kNodeNeither = 3,
};

inline constexpr std::size_t kMonitorRecordSize = 19;
inline constexpr int kIdentifierCount = 64;
inline constexpr int kMergedDataLengthMax = 8;

#pragma pack(push, 1)

// One monitored event. An extended frame arrives as a group of consecutive
// records: the header record has GroupSize() n (1-15, counting itself), keeps
// the total data length in bytes 10-11 (ExtLength) and the first 7 data bytes
// in bytes 12-18; each of the n - 1 following records carries 19 more data
// bytes in all of its bytes (Bytes()).
//
// In the ViewBuffer an extended frame is one merged record: the low 4 bits of
// kind keep the kind, the high 4 bits the number of data bytes to show (at
// most 8, MergedDataLength), data holds data bytes 0-7 and checksum byte 8.
struct MonitorRecord {
  std::int32_t time;  // milliseconds as counted by the analyzer
  std::uint8_t node;
  std::uint8_t flags;  // bit 7 Tx, bits 0-3 extended-frame group size
  std::uint8_t kind;
  std::uint8_t error;
  std::uint8_t ident;  // protected identifier; bits 0-5 are the LIN identifier
  std::uint8_t sync;
  std::uint8_t data[8];
  std::uint8_t checksum;

  static constexpr std::uint8_t kTxFlag = 0x80;
  static constexpr std::uint8_t kGroupSizeMask = 0x0F;

  bool IsTx() const { return (flags & kTxFlag) != 0; }
  // Records in this extended-frame group including the header; 0 when ordinary.
  int GroupSize() const { return flags & kGroupSizeMask; }
  bool IsExtendedHeader() const { return GroupSize() != 0; }
  // Total data bytes of an extended frame (header records only).
  int ExtLength() const { return data[0] | (data[1] << 8); }
  void SetExtLength(std::uint16_t length) {
    data[0] = static_cast<std::uint8_t>(length);
    data[1] = static_cast<std::uint8_t>(length >> 8);
  }
  // The first data bytes of an extended header, record bytes 12-18.
  std::span<const std::uint8_t, 7> ExtendedHeaderData() const {
    return Bytes().subspan<12, 7>();
  }

  int Identifier() const { return ident & 0x3F; }
  int BaseKind() const { return kind & 0x0F; }
  // Data bytes to show of a merged extended record in the ViewBuffer.
  int MergedDataLength() const { return kind >> 4; }
  bool IsErrorEvent() const {
    return BaseKind() == kKindError || BaseKind() == kKindSimulationError;
  }
  bool IsIoEvent() const { return kind >= kKindIoFirst && kind <= kKindIoLast; }
  // 0-5 for kinds 10-15 (only meaningful when IsIoEvent()).
  int IoEventIndex() const { return kind - kKindIoFirst; }

  // All 19 bytes, e.g. the data of an extended-frame continuation record.
  std::span<const std::uint8_t, kMonitorRecordSize> Bytes() const {
    return std::span<const std::uint8_t, kMonitorRecordSize>(
        reinterpret_cast<const std::uint8_t*>(this), kMonitorRecordSize);
  }
  std::span<std::uint8_t, kMonitorRecordSize> MutableBytes() {
    return std::span<std::uint8_t, kMonitorRecordSize>(reinterpret_cast<std::uint8_t*>(this),
                                                       kMonitorRecordSize);
  }
};

// Bus status values of MonitorBlockHeader::busStatus; any other is an error.
enum MonitorBusStatus : std::uint8_t {
  kBusRun = 0,
  kBusSleep = 1,
  kBusWakeup = 2,
};

// The 27 bytes in front of every block of records.
struct MonitorBlockHeader {
  std::uint32_t packetCount;    // packets seen on the bus
  std::uint16_t busLoad;        // units of 0.1 percent
  std::uint8_t busStatus;       // MonitorBusStatus
  std::uint8_t reserved[9];     // not interpreted
  std::uint16_t scheduleCount;  // master simulation "Count"
  std::uint32_t requestCount;   // master simulation: second number of "Success/Request"
  std::uint32_t successCount;   // master simulation: first number of "Success/Request"
  std::uint8_t recordCount;     // records in this block

  double BusLoadPercent() const { return busLoad / 10.0; }
};

#pragma pack(pop)

static_assert(sizeof(MonitorRecord) == kMonitorRecordSize);
static_assert(sizeof(MonitorBlockHeader) == 27);
static_assert(offsetof(MonitorRecord, data) == 10 && offsetof(MonitorRecord, checksum) == 18);
static_assert(offsetof(MonitorBlockHeader, scheduleCount) == 16 &&
              offsetof(MonitorBlockHeader, recordCount) == 26);
static_assert(std::is_trivially_copyable_v<MonitorRecord> &&
              std::is_trivially_copyable_v<MonitorBlockHeader>);

// The LIN 1.x data length coded in identifier bits 4-5: 2, 2, 4 or 8 bytes
// (the DLC of the "ID+DLC" display).
inline int LengthCodeOf(std::uint8_t ident) {
  constexpr int kLengths[4] = {2, 2, 4, 8};
  return kLengths[(ident >> 4) & 0x03];
}

}  // namespace orvane::monitor
