// One monitor record (or a whole extended-frame group) as a packet of link
// type LIN (212): the 8-byte LIN pseudo-header (format revision 1, payload
// length, message type, checksum type, protected identifier, checksum, error
// bits) and its payload, plus a packet comment that keeps what LIN cannot
// say, so that our own reader restores the exact record while other tools
// see a proper LIN packet.
//
// What goes where:
// - Frames (kinds Req, End, Error, Sim Err): message type frame, the
//   protected identifier and checksum, the data length the log shows (0-8)
//   in the length field and always all 8 data bytes as payload (the
//   pseudo-header's 16-byte packet). Checksum type classic or enhanced when
//   the data is complete and the checksum matches one of them, else unknown.
// - Sleep, bus sleep and wake-up: events 0xB0B00001 (go-to-sleep frame),
//   0xB0B00002 (sleep by inactivity) and 0xB0B00004 (wake-up).
// - Master break, I/O events and any other kind: events of our own,
//   0x4F560000 | kind; other tools show them as unknown LIN events.
// - Events carry the record's protected identifier and checksum in the
//   header and its 8 data bytes after the 4-byte event id.
// - An extended-frame group: one frame packet whose length field is its data
//   length cut to 8 and whose payload is every data byte of the group (the
//   header's 7 and 19 of each continuation record), so other tools show the
//   first 8 bytes and our reader gets the group back.
// - Error codes become error bits: Parity -> parity, CheckSum -> checksum,
//   No Res -> no slave response, Overrun and Buffer -> overflow, any other
//   code -> framing.
// - The comment, "Orvane node=N flags=N kind=N error=N sync=N" (decimal),
//   with " ext=N" (the extended data length) for a group, keeps M/S, Tx/Rx,
//   the group size, the kind, the exact error code and the sync byte.
//
// A packet without our comment (from another tool) becomes one record:
// frames kind End, or Error when an error bit is set (first of no slave
// response -> No Res, parity -> Parity, checksum -> CheckSum, overflow ->
// Overrun, framing or invalid id -> Framing), node "-", Rx, sync 0x55; the
// three LIN events become Sleep, B-Sleep and Wakeup.
//
// Threads: pure functions on caller-owned buffers; any thread.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/LogWriter.h"
#include "monitor/MonitorRecord.h"

namespace orvane::review {

inline constexpr std::uint16_t kLinkTypeLin = 212;
inline constexpr std::size_t kLinHeaderSize = 8;
inline constexpr std::uint8_t kLinFormatRevision = 1;

inline constexpr std::uint8_t kLinMessageFrame = 0;
inline constexpr std::uint8_t kLinMessageEvent = 3;

inline constexpr std::uint8_t kLinChecksumUnknown = 0;
inline constexpr std::uint8_t kLinChecksumClassic = 1;
inline constexpr std::uint8_t kLinChecksumEnhanced = 2;

inline constexpr std::uint8_t kLinErrorNoSlaveResponse = 0x01;
inline constexpr std::uint8_t kLinErrorFraming = 0x02;
inline constexpr std::uint8_t kLinErrorParity = 0x04;
inline constexpr std::uint8_t kLinErrorChecksum = 0x08;
inline constexpr std::uint8_t kLinErrorInvalidId = 0x10;
inline constexpr std::uint8_t kLinErrorOverflow = 0x20;

inline constexpr std::uint32_t kLinEventGoToSleep = 0xB0B00001;
inline constexpr std::uint32_t kLinEventSleepByInactivity = 0xB0B00002;
inline constexpr std::uint32_t kLinEventWakeup = 0xB0B00004;
// Our own events: the record kind in the low byte.
inline constexpr std::uint32_t kOrvaneEventBase = 0x4F560000;

// The packet of one record or group, built into reused buffers.
struct LinPacket {
  std::vector<std::uint8_t> bytes;  // pseudo-header and payload
  std::string comment;
};

// The LIN error bits of an error code.
std::uint8_t LinErrorBits(std::uint8_t error);
// The event id of a record that is no frame, 0 for frames.
std::uint32_t LinEventId(const monitor::MonitorRecord& record);

// Builds the packet of `group`: one ordinary record, or an extended-frame
// header followed by its continuation records (fewer than its group size
// when the group was cut off). `dataLengths` are the log's per identifier.
void EncodeLinPacket(std::span<const monitor::MonitorRecord> group,
                     const std::array<std::uint8_t, monitor::kIdentifierCount>& dataLengths,
                     LinPacket& packet);

// Appends the record(s) of one packet taken at analyzer time `time` to
// `records`. Returns why the packet cannot be a record (nothing appended),
// or an empty text.
std::string DecodeLinPacket(std::span<const std::uint8_t> packet, std::string_view comment,
                            std::int32_t time, std::vector<monitor::MonitorRecord>& records);

}  // namespace orvane::review
