// Writes the firmware image file "vxlfrm.dat" that ships next to the
// program: Motorola S-records (S0 header, S2 data records of 32 bytes, S8
// end) covering the whole flash window 0xE0000-0xEFFFF. Bytes 0x60-0x6F of
// the image hold the required firmware version text ended by 0xFF bytes; the
// rest is a fixed pattern, so every build produces the same file.
//
// Usage: orvane-make-firmware-image OUTPUT
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "analyzer/AnalyzerIdentity.h"
#include "analyzer/SRecordReader.h"

namespace {

using orvane::analyzer::FirmwareImage;
using orvane::analyzer::kFirmwareImageBase;
using orvane::analyzer::kFirmwareImageSize;

constexpr std::size_t kVersionOffset = 0x60;
constexpr std::size_t kVersionFieldSize = 16;
constexpr std::size_t kBytesPerRecord = 32;

FirmwareImage BuildImage() {
  FirmwareImage image;
  for (std::size_t i = 0; i < image.size(); ++i) {
    image[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8));
  }
  std::memset(&image[kVersionOffset], 0xFF, kVersionFieldSize);
  std::memcpy(&image[kVersionOffset], orvane::analyzer::kRequiredFirmwareVersion,
              std::strlen(orvane::analyzer::kRequiredFirmwareVersion));
  return image;
}

// One record: type, count, address of `addressBytes` bytes, data, checksum.
std::string Record(char type, std::uint32_t address, int addressBytes,
                   std::span<const std::uint8_t> data) {
  std::vector<std::uint8_t> bytes;
  bytes.push_back(static_cast<std::uint8_t>(addressBytes + data.size() + 1));
  for (int shift = 8 * (addressBytes - 1); shift >= 0; shift -= 8) {
    bytes.push_back(static_cast<std::uint8_t>(address >> shift));
  }
  bytes.insert(bytes.end(), data.begin(), data.end());
  unsigned sum = 0;
  for (std::uint8_t byte : bytes) sum += byte;
  bytes.push_back(static_cast<std::uint8_t>(~sum));

  std::string line{'S', type};
  char hex[3];
  for (std::uint8_t byte : bytes) {
    std::snprintf(hex, sizeof hex, "%02X", byte);
    line += hex;
  }
  return line + "\r\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: orvane-make-firmware-image OUTPUT\n", stderr);
    return 1;
  }
  const FirmwareImage image = BuildImage();
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  const char title[] = "vxlfrm";
  out << Record('0', 0, 2, std::span(reinterpret_cast<const std::uint8_t*>(title), 6));
  for (std::size_t offset = 0; offset < kFirmwareImageSize; offset += kBytesPerRecord) {
    out << Record('2', kFirmwareImageBase + offset, 3,
                  std::span(image).subspan(offset, kBytesPerRecord));
  }
  out << Record('8', kFirmwareImageBase, 3, {});
  out.close();
  if (!out) {
    std::fprintf(stderr, "orvane-make-firmware-image: cannot write %s\n", argv[1]);
    return 2;
  }
  return 0;
}
