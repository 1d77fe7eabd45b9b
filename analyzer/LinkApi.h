// The program's side of binding the link library.
//
// The program does not link liborlink.so: it loads it at run time from its
// own folder, keeps it loaded for the life of the process, and binds the
// twelve analyzer commands by ordinal (13-24) through the library's
// exported ordinal table.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "link/orlink.h"

namespace orvane::analyzer {

// The analyzer commands of the link library, ordinals 13-24.
struct LinkApi {
  decltype(&::InitUSB) InitUSB = nullptr;
  decltype(&::TargetGo) TargetGo = nullptr;
  decltype(&::FrashWrite) FrashWrite = nullptr;
  decltype(&::MemoryWrite) MemoryWrite = nullptr;
  decltype(&::MemoryRead) MemoryRead = nullptr;
  decltype(&::MonitorStart) MonitorStart = nullptr;
  decltype(&::MonitorStop) MonitorStop = nullptr;
  decltype(&::MemoryReadEx) MemoryReadEx = nullptr;
  decltype(&::MonitorRead) MonitorRead = nullptr;
  decltype(&::CloseUSB) CloseUSB = nullptr;
  decltype(&::FrashErase) FrashErase = nullptr;
  decltype(&::CheckUSB) CheckUSB = nullptr;
};

// The virtual analyzer's fault injections (orlink_virtual_control), looked
// up by name; not part of the ordinal table.
using VirtualAnalyzerControl = std::function<std::int32_t(std::int32_t action, std::uint32_t value)>;

struct LinkBinding {
  std::optional<LinkApi> api;  // every command bound, or nothing
  std::string error;           // why binding failed; empty on success
  VirtualAnalyzerControl virtualControl;  // empty when the library has none
};

// Loads "<folder>/liborlink.so" and binds the commands through its ordinal
// table. Fails with a readable error when the file cannot be loaded, has no
// ordinal table, or the table is malformed (wrong count, a command missing).
// A loaded library stays loaded, also after a failed binding. Blocks on the
// dynamic loader; any thread, usually the main thread at start-up.
LinkBinding BindLinkLibrary(const std::filesystem::path& folder);

// The folder of the running program (from /proc/self/exe); empty when it
// cannot be read.
std::filesystem::path ProgramFolder();

}  // namespace orvane::analyzer
