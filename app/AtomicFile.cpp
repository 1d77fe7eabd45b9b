#include "app/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <system_error>

#include "app/FileError.h"

namespace orvane::app {

namespace {

namespace fs = std::filesystem;

fs::path FollowSymlink(const fs::path& target) {
  std::error_code error;
  if (!fs::is_symlink(target, error)) return target;
  const fs::path resolved = fs::weakly_canonical(target, error);
  return error ? target : resolved;
}

// Opens a new, unique temporary file beside `target`.
int CreateTemporary(const fs::path& target, fs::path& temporary) {
  static std::atomic<unsigned> counter{0};
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = folder / ("." + target.filename().string() + ".tmp-" + std::to_string(getpid()) +
                          "-" + std::to_string(counter++));
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes = bytes.subspan(static_cast<std::size_t>(written));
  }
  return true;
}

// Makes the rename itself durable. The new content is already complete, so
// a folder that cannot be synced does not make the write fail.
void SyncFolder(const fs::path& file) {
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

WriteResult WriteFileAtomically(const fs::path& requested, std::span<const std::uint8_t> bytes) {
  const fs::path target = FollowSymlink(requested);
  fs::path temporary;
  const int fd = CreateTemporary(target, temporary);
  if (fd < 0) return {false, FileError("cannot create a file beside", target, errno)};

  const char* failedStep = nullptr;
  int error = 0;
  const auto fail = [&](const char* step) {
    failedStep = step;
    error = errno;
  };
  struct stat existing {};
  if (stat(target.c_str(), &existing) == 0 && fchmod(fd, existing.st_mode & 07777) != 0) {
    fail("cannot keep the permissions of");
  } else if (!WriteAll(fd, bytes)) {
    fail("cannot write");
  } else if (fsync(fd) != 0) {
    fail("cannot flush");
  }
  if (close(fd) != 0 && failedStep == nullptr) fail("cannot close");
  if (failedStep == nullptr && rename(temporary.c_str(), target.c_str()) != 0) {
    fail("cannot replace");
  }
  if (failedStep != nullptr) {
    unlink(temporary.c_str());
    return {false, FileError(failedStep, target, error)};
  }
  SyncFolder(target);
  return {true, {}};
}

}  // namespace orvane::app
