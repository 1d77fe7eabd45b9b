// A message the core hands to the user interface: either a text with its
// caption and icon for a message box, or a code of the message catalogue
// that the interface shows through its catalogue.
#pragma once

#include <string_view>

namespace orvane::settings {

enum class MessageIcon { Information, Question, Exclamation, Stop };

struct UserMessage {
  std::string_view text;
  std::string_view caption;
  MessageIcon icon = MessageIcon::Exclamation;
  int catalogueCode = 0;  // non-zero: show this catalogue message instead of `text`

  friend bool operator==(const UserMessage&, const UserMessage&) = default;
};

}  // namespace orvane::settings
