// Reading the firmware image file: Motorola S-records into the 64 KiB image
// of the analyzer's flash window 0xE0000-0xEFFFF.
//
// Only S2 (24-bit address) and S3 (32-bit address) records carry data; all
// other record types are ignored and checksums are not verified. Data that
// falls outside the window is dropped. A record that is malformed (a field
// that is not hexadecimal, or a line that ends before the data its byte
// count announces) is skipped whole, so nothing past the end of a line is
// ever read. Lines may be of any length and end in LF or CR LF.
//
// Threads: no shared state; the firmware download worker calls it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <string_view>

namespace orvane::analyzer {

inline constexpr std::uint32_t kFirmwareImageBase = 0xE0000;
inline constexpr std::size_t kFirmwareImageSize = 0x10000;
using FirmwareImage = std::array<std::uint8_t, kFirmwareImageSize>;

// Stores the data of one S-record line into `image`; other lines change nothing.
void ApplySRecord(std::string_view line, FirmwareImage& image);

// Applies every line of `in` in order. The caller fills the image with 0xFF
// first: bytes the file does not set keep their value.
void ReadSRecords(std::istream& in, FirmwareImage& image);

}  // namespace orvane::analyzer
