// The byte layouts of a configuration file: a plain concatenation of
// fixed-size memory images in the machine's little-endian byte order, with
// no header, version or checksum. The file's size tells the layout apart:
// 153337 bytes for the current layout, 152741 for the older one, whose
// settings record is cut down to 1124 bytes.
//
// Pure functions on memory; any thread, nothing blocks, nothing fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "app/Configuration.h"

namespace orvane::app {

inline constexpr std::size_t kCurrentFileSize = 153337;
inline constexpr std::size_t kOlderFileSize = 152741;
inline constexpr std::size_t kOlderSettingsRecordSize = 1124;

enum class FileLayout { Current, Older };

// The layout of a file of `size` bytes; nullopt when it matches neither.
std::optional<FileLayout> LayoutOfSize(std::uintmax_t size);

std::size_t SettingsRecordSize(FileLayout layout);

// The whole file in the current layout.
std::vector<std::uint8_t> EncodeConfiguration(const Configuration& configuration);

// Takes the settings record from `file`. In the older layout only the LIN
// revision, description path and reference, signal selection, the first 16
// bytes of the option record and the identifier definitions are stored;
// every other byte of `record` keeps its value. `file` must have the size
// of `layout`.
void DecodeSettingsRecord(std::span<const std::uint8_t> file, FileLayout layout,
                          settings::SettingsRecord& record);

// Takes every block behind the settings record from `file` into its place
// in `configuration`, leaving the settings record alone. `file` must have
// the size of `layout`.
void DecodeBlocksAfterSettings(std::span<const std::uint8_t> file, FileLayout layout,
                               Configuration& configuration);

}  // namespace orvane::app
