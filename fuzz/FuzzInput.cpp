#include "fuzz/FuzzInput.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace orvane::fuzz {

InputFile::InputFile() {
  fd_ = memfd_create("orvane-fuzz-input", MFD_CLOEXEC);
  if (fd_ < 0) Fail("memfd_create failed");
  path_ = "/proc/self/fd/" + std::to_string(fd_);
}

const std::filesystem::path& InputFile::Write(std::span<const std::uint8_t> bytes) {
  if (ftruncate(fd_, 0) != 0) Fail("ftruncate failed");
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = pwrite(fd_, bytes.data() + done, bytes.size() - done,
                                   static_cast<off_t>(done));
    if (written <= 0) Fail("pwrite failed");
    done += static_cast<std::size_t>(written);
  }
  return path_;
}

const std::filesystem::path& ScratchFolder() {
  // Kept for the life of the process and removed when it exits normally.
  static const std::filesystem::path* const folder = [] {
    std::string name = (std::filesystem::temp_directory_path() / "orvane-fuzz-XXXXXX").string();
    if (mkdtemp(name.data()) == nullptr) Fail("mkdtemp failed");
    std::atexit([] {
      std::error_code error;
      std::filesystem::remove_all(*folder, error);
    });
    return new std::filesystem::path(name);
  }();
  return *folder;
}

void Fail(std::string_view what) {
  std::fprintf(stderr, "fuzz check failed: %.*s\n", static_cast<int>(what.size()), what.data());
  std::abort();
}

}  // namespace orvane::fuzz
