// The USB vendor:product pairs that the usb backend treats as analyzers.
//
// The analyzer's own pair 1209:4c49 is always on the list. More pairs come
// from ORLINK_USB_IDS ("vvvv:pppp,vvvv:pppp", hexadecimal) and from the
// files /etc/orvane/usb-ids and $XDG_CONFIG_HOME/orvane/usb-ids (default
// ~/.config/orvane/usb-ids), one pair a line; '#' starts a comment and
// blank lines are allowed. An entry that is no pair is skipped with a
// message; it never stops the others from being read.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orlink::driver {

struct UsbId {
  std::uint16_t vendor = 0;
  std::uint16_t product = 0;
  auto operator<=>(const UsbId&) const = default;
};

inline constexpr UsbId kAnalyzerUsbId{0x1209, 0x4C49};

// "vvvv:pppp" with one to four hexadecimal digits each side, blanks around
// it allowed; nothing for any other text.
std::optional<UsbId> ParseUsbId(std::string_view text);

// "vvvv:pppp" in lower case.
std::string FormatUsbId(UsbId id);

class UsbAllowList {
 public:
  // Only the analyzer's own pair.
  UsbAllowList();

  bool Contains(UsbId id) const;
  const std::vector<UsbId>& Ids() const { return ids_; }

  // Adds the comma-separated pairs of an ORLINK_USB_IDS value.
  void AddEnvironmentValue(std::string_view value, std::string& messages);
  // Adds the pairs of a usb-ids file's text; `source` names the file in
  // messages ("<source>:<line>: ...").
  void AddFileText(std::string_view text, std::string_view source, std::string& messages);

 private:
  void Add(UsbId id);

  std::vector<UsbId> ids_;
};

// The usb-ids files in the order they are read: the system's, then the
// user's (XDG_CONFIG_HOME, else HOME/.config).
std::vector<std::string> UsbIdFiles();

// The built-in pair, ORLINK_USB_IDS and the usb-ids files that exist.
// Messages about skipped entries are appended to `messages`, one a line.
UsbAllowList AllowListFromEnvironment(std::string& messages);

}  // namespace orlink::driver
