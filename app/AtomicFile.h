// Writing a whole file so that a crash, a full disk or any other failure
// never leaves a damaged or half-written file behind: the bytes go to a
// temporary file in the same folder, are flushed to the disk, and the
// temporary file is then renamed over the target. On any failure the
// temporary file is removed and the previous file stays as it was.
//
// Blocks on the disk (fsync). Any thread; two writers of the same target at
// once leave one complete version or the other.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace orvane::app {

struct WriteResult {
  bool ok = false;
  std::string error;  // what failed and why, empty on success
};

// Creates or replaces `target` with exactly `bytes`. A symbolic link is
// followed and its target replaced; an existing file keeps its permissions,
// a new one gets the usual ones (0666 less the umask).
WriteResult WriteFileAtomically(const std::filesystem::path& target,
                                std::span<const std::uint8_t> bytes);

}  // namespace orvane::app
