// The text of a failed file operation, for error reports to the user:
// "<what> '<path>': <system error text>".
#pragma once

#include <cstring>
#include <filesystem>
#include <string>

namespace orvane::app {

inline std::string FileError(const char* what, const std::filesystem::path& path, int error) {
  return std::string(what) + " '" + path.string() + "': " + std::strerror(error);
}

}  // namespace orvane::app
