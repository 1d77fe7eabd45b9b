// The pieces of the pcapng format that our writer and reader share: block
// and option codes, little-endian block building, and the texts in which we
// keep what the format has no field for (the wall time of analyzer time 0,
// the log's layout, the analyzer's name, serial number and firmware).
//
// Threads: pure functions; any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/LogWriter.h"
#include "review/ReviewRecords.h"

namespace orvane::review {

inline constexpr std::uint32_t kBlockSectionHeader = 0x0A0D0D0A;
inline constexpr std::uint32_t kBlockInterfaceDescription = 0x00000001;
inline constexpr std::uint32_t kBlockSimplePacket = 0x00000003;
inline constexpr std::uint32_t kBlockEnhancedPacket = 0x00000006;
inline constexpr std::uint32_t kByteOrderMagic = 0x1A2B3C4D;

inline constexpr std::uint16_t kOptionEnd = 0;
inline constexpr std::uint16_t kOptionComment = 1;
inline constexpr std::uint16_t kOptionUserApplication = 4;       // shb_userappl
inline constexpr std::uint16_t kOptionInterfaceDescription = 3;  // if_description
inline constexpr std::uint16_t kOptionTimestampResolution = 9;   // if_tsresol
inline constexpr std::uint16_t kOptionTimestampOffset = 14;      // if_tsoffset

inline constexpr std::uint8_t kMillisecondResolution = 3;  // 10^-3 s

// The wall time written for analyzer time 0 when the real one is unknown
// (a converted log): 2^31 ms after 1970, so that no analyzer time, however
// negative, comes before 1970.
inline constexpr std::int64_t kUnknownStartMilliseconds = std::int64_t{1} << 31;

// Appends little-endian values and padded options to a block being built;
// an option value is cut to the 65535 bytes an option can hold.
void AppendU16(std::vector<std::uint8_t>& block, std::uint16_t value);
void AppendU32(std::vector<std::uint8_t>& block, std::uint32_t value);
void AppendPadded(std::vector<std::uint8_t>& block, std::span<const std::uint8_t> bytes);
void AppendOption(std::vector<std::uint8_t>& block, std::uint16_t code,
                  std::span<const std::uint8_t> value);
void AppendOption(std::vector<std::uint8_t>& block, std::uint16_t code, std::string_view text);
// Writes the block's total length at its offset 4 and at its end.
void FinishBlock(std::vector<std::uint8_t>& block);

// "2026-03-01 12:00:00.250" for milliseconds since 1970 (UTC).
std::string FormatUtcMilliseconds(std::int64_t milliseconds);

// The section comment that names the wall time of analyzer time 0:
// "analyzer time 0 at 2026-03-01 12:00:00.250 UTC", with
// " (wall time unknown)" when `start` is empty.
std::string StartComment(std::optional<std::int64_t> start);
struct StartTime {
  std::int64_t base = 0;                 // milliseconds of analyzer time 0
  std::optional<std::int64_t> wallTime;  // the same when it is a real time
};
std::optional<StartTime> ParseStartComment(std::string_view comment);

// The section comment with the log's layout: "Orvane log format:
// lengths=" with two hexadecimal digits per identifier, " field=IDEN" or
// " field=ID+DLC", " radix=HEX" or " radix=DEC", then " io=" and the six I/O
// event names separated by commas.
std::string LogFormatComment(const monitor::LogFormat& format);
// Fills `format` from such a comment; false (and `format` as it was) for
// any other text.
bool ParseLogFormatComment(std::string_view comment, monitor::LogFormat& format);

// if_description: "<name>, serial <number>, firmware <version>".
std::string InterfaceDescription(const RecordingSource& source);
// Fills name, serial number and firmware from such a text; false otherwise.
bool ParseInterfaceDescription(std::string_view text, RecordingSource& source);

}  // namespace orvane::review
