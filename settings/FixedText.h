// Zero-terminated text in the fixed-size char fields of stored records.
// Pure functions; any thread.
#pragma once

#include <cstddef>
#include <string_view>

namespace orvane::settings {

// Stores `text` zero-terminated into a field of `fieldSize` bytes, cut to
// fit and zero-filled behind it, so that no stale bytes follow the text.
void CopyToField(std::string_view text, char* field, std::size_t fieldSize);

template <std::size_t N>
void CopyToField(std::string_view text, char (&field)[N]) {
  CopyToField(text, field, N);
}

// The text of a field up to its first zero, never reading past the field's
// end even when a file left it without a terminating zero.
std::string_view FieldText(const char* field, std::size_t fieldSize);

template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
  return FieldText(field, N);
}

}  // namespace orvane::settings
