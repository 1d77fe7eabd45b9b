#include "monitor/MessageCatalogue.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace orvane::monitor {

namespace {

struct CatalogueEntry {
  std::int32_t code;
  std::string_view text;
};

constexpr CatalogueEntry kCatalogue[] = {
    {5, "Hardware Initilal Error."},
    {6, "Please reset H/W, and restart this application."},
    {7, "Application terminated due to USB disconnection."},
    {8, "Application terminated due to USB comminucation error."},
    {9, "Application setup default parameter due to\n Configuration File Load Error. "},
    {50, "Enter proper space value (0-60)."},
    {100, "Mode Setting Error."},
    {101, "No proper data found for simulation."},
    {102, "Option Setting Error."},
    {103, "LIN Analyzer termination not allowed during monitoring.\nStop monitoring."},
    {104, "Monitor Execution Error."},
    {105, "Log file preparation failed."},
    {106, "Simulation Execution Error."},
    {107, "Memory are not securable any more."},
    {108, "Configuration file read error."},
    {201, "No selection made for execution."},
    {202, "Enter proper interval value (1-65535)."},
    {300, "Entered ID has already been used for master ID."},
    {301, "Entered ID has already been used for slave ID."},
    {302, "Enter proper value (00-FF)."},
    {303, "Entered ID has already been registered at enable slot."},
    {304, "Extend Frame can't be registed."},
    {400, "Slave Simulation Setting Error."},
    {401, "Master Simulation Setting Error."},
    {402, "Parameter Error!!"},
    {403, "Schedule Validation Set Error."},
    {404, "Interrupt Validation Set Error."},
    {405, "Please input simulation data."},
    {406, "Schedule Setting Error."},
    {407, "Wakeup Transmitting Error."},
    {600, "Test setting error."},
    {601, "Download error."},
    {700, "Pattern File Open Error."},
    {701, "Log File Open Error."},
    {702, "Pattern File is not exist."},
    {703, "Pattern File format error."},
    {1000, "too long!."},
    {1001, "Simulation data setting NG!."},
};

}  // namespace

std::string MessageText(std::int32_t code) {
  const auto entry = std::ranges::find(kCatalogue, code, &CatalogueEntry::code);
  if (entry != std::end(kCatalogue)) return std::string(entry->text);
  return "Error[" + std::to_string(code) + "]";
}

void ShowErrorMessage(MessageSink& sink, std::int32_t code) {
  if (!sink.CanShow()) return;
  ShowErrorBox(sink, MessageText(code), MessageIcon::kExclamation);
}

}  // namespace orvane::monitor
