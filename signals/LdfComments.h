// First stage of reading a LIN description file: comment removal.
#pragma once

#include <string>
#include <string_view>

namespace orvane::signals {

// Copies `text` without its comments: "/*" up to the next "*/" (or the end)
// and "//" up to, not including, the end of the line are dropped; text inside
// double quotes is copied unchanged, comment markers included; any other "/"
// is kept. Pure function; any thread.
std::string RemoveComments(std::string_view text);

}  // namespace orvane::signals
