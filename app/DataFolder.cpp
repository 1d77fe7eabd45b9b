#include "app/DataFolder.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace orvane::app {

namespace fs = std::filesystem;

fs::path UserDataFolder() {
  fs::path base;
  if (const char* dataHome = std::getenv("XDG_DATA_HOME"); dataHome && *dataHome) {
    base = dataHome;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = fs::path(home) / ".local" / "share";
  } else {
    return {};
  }
  const fs::path folder = base / "orvane";
  std::error_code error;
  fs::create_directories(folder, error);
  return folder;
}

fs::path WritableFolder(const fs::path& programFolder) {
  const bool writable = !programFolder.empty() && ::access(programFolder.c_str(), W_OK) == 0;
  return writable ? programFolder : UserDataFolder();
}

}  // namespace orvane::app
