#include "settings/IdentifierDefinition.h"

#include <algorithm>

namespace orvane::settings {

namespace {
constexpr std::uint8_t kMasterRequestId = 0x3C;
constexpr std::uint8_t kSlaveResponseId = 0x3D;
}  // namespace

std::uint8_t DefaultDataLength(std::uint8_t identifier) {
  switch ((identifier >> 4) & 0x03) {
    case 2:
      return 4;
    case 3:
      return 8;
    default:
      return 2;
  }
}

std::optional<std::uint8_t> ParseDataLength(std::string_view text) {
  if (text.size() != 1 || text[0] < '0' || text[0] > '0' + kMaxDataLength) return std::nullopt;
  return static_cast<std::uint8_t>(text[0] - '0');
}

bool CanUseEnhancedChecksum(std::uint8_t identifier, bool lin20) {
  return lin20 && identifier < kMasterRequestId;
}

void SetIdentifierDefaults(IdentifierDefinition& definition, std::size_t first, std::size_t count) {
  const std::size_t end = std::min(kIdentifierCount, first + count);
  for (std::size_t id = first; id < end; ++id) {
    definition.dataLength[id] = DefaultDataLength(static_cast<std::uint8_t>(id));
    definition.classicChecksum[id] = 1;
  }
}

void SetIdentifierDefaults(IdentifierDefinition& definition) {
  SetIdentifierDefaults(definition, 0, kIdentifierCount);
}

void ConvertToLin13(IdentifierDefinition& definition) {
  for (std::size_t id = 0; id < kIdentifierCount; ++id) {
    if (definition.classicChecksum[id] == 0) definition.classicChecksum[id] = 1;
  }
}

void NormalizeIdentifierDefinition(IdentifierDefinition& definition) {
  for (std::size_t id = 0; id < kIdentifierCount; ++id) {
    definition.dataLength[id] = std::min(definition.dataLength[id], kMaxDataLength);
    if (definition.classicChecksum[id] != 0) definition.classicChecksum[id] = 1;
  }
  definition.classicChecksum[kMasterRequestId] = 1;
  definition.classicChecksum[kSlaveResponseId] = 1;
}

}  // namespace orvane::settings
