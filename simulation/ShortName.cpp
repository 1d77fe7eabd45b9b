#include "simulation/ShortName.h"

namespace orvane::simulation {

namespace {

bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string ShortenName(std::string_view name, int maxWidth, const TextWidth& width) {
  if (width(name) <= maxWidth) return std::string(name);
  for (std::size_t length = name.size(); length > 0; --length) {
    if (length < name.size() && IsContinuationByte(name[length])) continue;
    std::string shortened = std::string(name.substr(0, length)) + std::string(kEllipsis);
    if (width(shortened) <= maxWidth) return shortened;
  }
  return std::string(kEllipsis);
}

}  // namespace orvane::simulation
