// Helpers shared by the fuzz targets: handing the input to readers that take
// a path, and stopping loudly when a reader breaks a promise of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace orvane::fuzz {

// A file that holds the bytes of the current input: one memory file per
// process (/proc/self/fd/N), rewritten for every input, so no disk I/O.
class InputFile {
 public:
  InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Replaces the file's content with `bytes`; returns its path.
  const std::filesystem::path& Write(std::span<const std::uint8_t> bytes);
  const std::filesystem::path& path() const { return path_; }

 private:
  int fd_ = -1;
  std::filesystem::path path_;
};

// A private folder under the temporary folder, made once per process, for
// readers that need a real folder (file names that matter, files written
// beside the input and renamed).
const std::filesystem::path& ScratchFolder();

// Aborts with `what` on stderr, so that libFuzzer keeps the input as a crash.
[[noreturn]] void Fail(std::string_view what);

inline void Expect(bool condition, std::string_view what) {
  if (!condition) Fail(what);
}

}  // namespace orvane::fuzz
