#include "analyzer/LinkApi.h"

#include <dlfcn.h>

#include <system_error>

namespace orvane::analyzer {
namespace {

constexpr const char* kLibraryName = "liborlink.so";

template <typename Function>
bool Bind(Function& target, const OrlinkOrdinalTable& table, int ordinal) {
  target = reinterpret_cast<Function>(table.functions[ordinal]);
  return target != nullptr;
}

// Binds ordinals 13-24; the error names the first one that is missing.
std::string BindCommands(const OrlinkOrdinalTable& table, LinkApi& api) {
  if (table.count != ORLINK_ORDINAL_COUNT) {
    return "its ordinal table holds " + std::to_string(table.count) + " entries instead of " +
           std::to_string(ORLINK_ORDINAL_COUNT);
  }
  int ordinal = 13;
  for (const bool bound : {Bind(api.InitUSB, table, 13), Bind(api.TargetGo, table, 14),
                           Bind(api.FrashWrite, table, 15), Bind(api.MemoryWrite, table, 16),
                           Bind(api.MemoryRead, table, 17), Bind(api.MonitorStart, table, 18),
                           Bind(api.MonitorStop, table, 19), Bind(api.MemoryReadEx, table, 20),
                           Bind(api.MonitorRead, table, 21), Bind(api.CloseUSB, table, 22),
                           Bind(api.FrashErase, table, 23), Bind(api.CheckUSB, table, 24)}) {
    if (!bound) return "its ordinal table has no function at ordinal " + std::to_string(ordinal);
    ++ordinal;
  }
  return {};
}

}  // namespace

LinkBinding BindLinkLibrary(const std::filesystem::path& folder) {
  const std::filesystem::path file = folder / kLibraryName;
  // Never closed: the commands stay bound for the life of the process.
  void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* reason = dlerror();
    // The loader's reason names the file.
    return {std::nullopt, "cannot load " + (reason ? std::string(reason) : file.string()), {}};
  }
  const auto* table =
      static_cast<const OrlinkOrdinalTable*>(dlsym(library, ORLINK_ORDINAL_TABLE_SYMBOL));
  if (table == nullptr) {
    return {std::nullopt, file.string() + " has no ordinal table (" +
                              ORLINK_ORDINAL_TABLE_SYMBOL + ")",
            {}};
  }
  LinkApi api;
  std::string error = BindCommands(*table, api);
  if (!error.empty()) return {std::nullopt, file.string() + " is malformed: " + error, {}};
  LinkBinding binding{api, {}, {}};
  if (auto* control = reinterpret_cast<decltype(&orlink_virtual_control)>(
          dlsym(library, ORLINK_VIRTUAL_CONTROL_SYMBOL))) {
    binding.virtualControl = control;
  }
  return binding;
}

std::filesystem::path ProgramFolder() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : program.parent_path();
}

}  // namespace orvane::analyzer
