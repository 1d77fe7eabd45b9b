#include "analyzer/BankDownload.h"

#include <optional>
#include <utility>

namespace orvane::analyzer {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kPollLimit{2000};
constexpr milliseconds kMasterPollInterval{10};
constexpr milliseconds kFastPollInterval{3};

struct Polling {
  milliseconds interval;
  // The slave table's variant: a first state read of 3 means 0x0416 may be
  // stale, so it is read again.
  bool rereadSelectionWhenTaken = false;
};

std::optional<int> SelectedBank(const RegisterMap& map) {
  std::uint8_t value = 0;
  if (!map.ReadByte(reg::kBankSelect, value)) return std::nullopt;
  return value == 1 ? 1 : 0;
}

// The bank to download into, or nothing when a read fails or polling gives up.
std::optional<int> WaitForFreeBank(const RegisterMap& map, Polling polling) {
  std::optional<int> bank = SelectedBank(map);
  bool firstRead = true;
  bool pendingSeen = false;
  milliseconds waited{0};
  while (bank) {
    std::uint8_t state = 0;
    if (!map.ReadByte(reg::kBankState[*bank], state)) return std::nullopt;
    if (std::exchange(firstRead, false) && state == kBankTaken &&
        polling.rereadSelectionWhenTaken) {
      bank = SelectedBank(map);
      continue;
    }
    // The analyzer took the bank it was waiting on, and freed the other one.
    if (pendingSeen && state == kBankTaken) return 1 - *bank;
    if (state == kBankFree) return bank;
    if (state != kBankTaken) pendingSeen = true;
    map.Sleep(polling.interval);
    waited += polling.interval;
    if (waited > kPollLimit) return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

bool DownloadMasterSchedule(const RegisterMap& map,
                            std::span<const std::uint8_t, kBankTableSize> table, bool runOnce) {
  const std::optional<int> bank = WaitForFreeBank(map, {kMasterPollInterval});
  return bank && map.Write(reg::kBankTable[*bank], table) &&
         map.WriteByte(reg::kBankState[*bank], kBankStart) &&
         map.WriteByte(reg::kRunOnce, runOnce ? 1 : 0);
}

bool DownloadMasterScheduleRunning(const RegisterMap& map,
                                   std::span<std::uint8_t, kBankTableSize> table) {
  const std::optional<int> bank = WaitForFreeBank(map, {kFastPollInterval});
  if (!bank || !map.Write(reg::kBankTable[*bank], table)) return false;
  const bool stateWritten = map.WriteByte(reg::kBankState[*bank], kBankReplace);
  for (std::size_t entry = 0; entry < table.size(); entry += kSimEntrySize) table[entry] &= 0x0F;
  return stateWritten;
}

bool DownloadSlaveTable(const RegisterMap& map,
                        std::span<const std::uint8_t, kSlaveTableSize> table) {
  const std::optional<int> bank = WaitForFreeBank(map, {kFastPollInterval, true});
  return bank && map.Write(reg::kBankTable[*bank], table) &&
         map.WriteByte(reg::kBankState[*bank], kBankReplace);
}

}  // namespace orvane::analyzer
