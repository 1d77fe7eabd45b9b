#include "analyzer/SRecordReader.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>

namespace orvane::analyzer {
namespace {

struct RecordLayout {
  int addressDigits;
  int overheadBytes;  // address bytes and the checksum byte, counted in the byte count
};

std::optional<RecordLayout> LayoutOf(std::string_view line) {
  if (line.size() < 2 || line[0] != 'S') return std::nullopt;
  if (line[1] == '2') return RecordLayout{6, 4};
  if (line[1] == '3') return RecordLayout{8, 5};
  return std::nullopt;
}

// The unsigned hexadecimal number of exactly `digits` characters at `offset`.
std::optional<std::uint32_t> HexField(std::string_view line, std::size_t offset, int digits) {
  if (offset + digits > line.size()) return std::nullopt;
  const char* first = line.data() + offset;
  const char* last = first + digits;
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(first, last, value, 16);
  if (error != std::errc() || end != last) return std::nullopt;
  return value;
}

std::string_view WithoutLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  return line;
}

}  // namespace

void ApplySRecord(std::string_view line, FirmwareImage& image) {
  line = WithoutLineEnd(line);
  const std::optional<RecordLayout> layout = LayoutOf(line);
  if (!layout) return;
  const std::optional<std::uint32_t> byteCount = HexField(line, 2, 2);
  const std::optional<std::uint32_t> address = HexField(line, 4, layout->addressDigits);
  if (!byteCount || !address) return;
  const int dataCount = static_cast<int>(*byteCount) - layout->overheadBytes;
  if (dataCount <= 0 || *address < kFirmwareImageBase ||
      *address >= kFirmwareImageBase + kFirmwareImageSize) {
    return;
  }
  const std::size_t dataStart = 4 + layout->addressDigits;
  std::array<std::uint8_t, 255> data{};
  for (int k = 0; k < dataCount; ++k) {
    const std::optional<std::uint32_t> byte = HexField(line, dataStart + 2 * k, 2);
    if (!byte) return;
    data[k] = static_cast<std::uint8_t>(*byte);
  }
  const std::size_t offset = *address - kFirmwareImageBase;
  const std::size_t stored = std::min<std::size_t>(dataCount, kFirmwareImageSize - offset);
  std::copy_n(data.begin(), stored, image.begin() + offset);
}

void ReadSRecords(std::istream& in, FirmwareImage& image) {
  std::string line;
  while (std::getline(in, line)) ApplySRecord(line, image);
}

}  // namespace orvane::analyzer
