#include "settings/FixedText.h"

#include <algorithm>
#include <cstring>

namespace orvane::settings {

void CopyToField(std::string_view text, char* field, std::size_t fieldSize) {
  if (fieldSize == 0) return;
  const std::size_t length = std::min(text.size(), fieldSize - 1);
  std::memset(field, 0, fieldSize);
  std::memcpy(field, text.data(), length);
}

std::string_view FieldText(const char* field, std::size_t fieldSize) {
  const char* end = std::find(field, field + fieldSize, '\0');
  return {field, static_cast<std::size_t>(end - field)};
}

}  // namespace orvane::settings
