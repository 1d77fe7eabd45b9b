#include "emulator/ExtendedFrame.h"

#include <algorithm>

namespace orvane::emulator {
namespace {

std::span<std::uint8_t, sizeof(UnitRecord)> BytesOf(UnitRecord& record) {
  return std::span<std::uint8_t, sizeof(UnitRecord)>(reinterpret_cast<std::uint8_t*>(&record),
                                                     sizeof(UnitRecord));
}

}  // namespace

std::vector<UnitRecord> MakeExtendedFrameRecords(UnitRecord header, std::span<const std::uint8_t> data) {
  data = data.first(std::min(data.size(), kMaxExtendedBytes));
  const std::size_t beyond_header = data.size() - std::min(data.size(), kExtendedHeaderBytes);
  const std::size_t continuations =
      (beyond_header + kExtendedContinuationBytes - 1) / kExtendedContinuationBytes;

  header.flags = static_cast<std::uint8_t>((header.flags & 0xF0) | (1 + continuations));
  header.data[0] = static_cast<std::uint8_t>(data.size());
  header.data[1] = static_cast<std::uint8_t>(data.size() >> 8);
  std::ranges::fill(BytesOf(header).subspan(12), std::uint8_t{0});
  const auto first = data.first(std::min(data.size(), kExtendedHeaderBytes));
  std::ranges::copy(first, BytesOf(header).begin() + 12);

  std::vector<UnitRecord> group{header};
  for (std::size_t offset = kExtendedHeaderBytes; offset < data.size();
       offset += kExtendedContinuationBytes) {
    UnitRecord continuation;
    std::ranges::copy(data.subspan(offset, std::min(kExtendedContinuationBytes, data.size() - offset)),
                      BytesOf(continuation).begin());
    group.push_back(continuation);
  }
  return group;
}

}  // namespace orvane::emulator
