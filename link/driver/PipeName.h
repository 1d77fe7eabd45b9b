// Pipe names of the generic driver: "<device path>\if000pipe002" names pipe 2
// of interface 0. The backslash is the driver's own naming, kept on Linux.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orlink::driver {

struct PipeName {
  std::string device_path;
  std::uint8_t interface_number = 0;
  std::uint8_t pipe_number = 0;
};

// "%s\if%03dpipe%03d" of the path and the two numbers.
std::string FormatPipeName(std::string_view device_path, std::uint8_t interface_number,
                           std::uint8_t pipe_number);

// The parts of a name that FormatPipeName made; nothing for any other name
// (a device path, or a suffix that is not exactly "\ifNNNpipeNNN" with
// numbers up to 255).
std::optional<PipeName> ParsePipeName(std::string_view name);

// The "ifNNNpipeNNN" suffix of a pipe name, or nothing.
std::optional<std::string_view> PipeSuffix(std::string_view name);

}  // namespace orlink::driver
