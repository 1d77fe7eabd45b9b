// Schedule names cut to a width in pixels for the schedule list of the
// master setup (65 pixels) and the schedule buttons of the master monitor
// (85 pixels). The width of a text is measured by the caller's font, so
// that this stays free of any user-interface library. Pure function.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace orvane::simulation {

inline constexpr std::string_view kEllipsis = "...";

// Measures a text in pixels.
using TextWidth = std::function<int(std::string_view text)>;

// A name that fits `maxWidth` whole is kept whole; otherwise the longest
// prefix that fits together with "...", followed by "..." ("..." alone when
// no character fits). A prefix never ends inside a UTF-8 character.
std::string ShortenName(std::string_view name, int maxWidth, const TextWidth& width);

}  // namespace orvane::simulation
