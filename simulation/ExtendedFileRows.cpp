#include "simulation/ExtendedFileRows.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "monitor/MessageCatalogue.h"
#include "settings/FixedText.h"

namespace orvane::simulation {

namespace {

// The longest path a binding takes: 255 characters.
constexpr std::size_t kMaxBindingPath = kExtendedFilePathSize - 2;

bool SendsExtendedFile(const SimSlot& slot) {
  return slot.command == kCommandExtendedTx &&
         (slot.identifier == kExtendedFrameIdLow || slot.identifier == kExtendedFrameIdHigh);
}

bool Names(const ExtendedFileBinding& binding, const ExtendedFileRow& row) {
  if (binding.owner != row.owner) return false;
  return row.owner == kOwnerInterruptSlot ||
         (binding.scheduleIndex == row.schedule && binding.slotIndex == row.slot);
}

std::string BoundPath(const ExtendedFileTable& files, const ExtendedFileRow& row) {
  for (std::size_t index = 0; index < kExtendedFilesInUse; ++index) {
    const std::string_view path = settings::FieldText(files[index].path);
    if (!path.empty() && Names(files[index], row)) return std::string(path);
  }
  return {};
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::path(path), error);
}

}  // namespace

std::vector<ExtendedFileRow> ExtendedFileRows(const MasterSchedules& schedules,
                                              const SimSlot& interruptSlot,
                                              const ExtendedFileTable& files) {
  std::vector<ExtendedFileRow> rows;
  for (std::size_t schedule = 0; schedule < schedules.size(); ++schedule) {
    for (std::size_t slot = 0; slot < kSlotsPerSchedule; ++slot) {
      if (SendsExtendedFile(schedules[schedule].slots[slot])) {
        rows.push_back({kOwnerScheduleSlot, schedule, slot, {}});
      }
    }
  }
  if (SendsExtendedFile(interruptSlot)) rows.push_back({kOwnerInterruptSlot, 0, 0, {}});
  for (ExtendedFileRow& row : rows) row.path = BoundPath(files, row);
  return rows;
}

std::array<std::string, 3> ExtendedFileRowCells(const ExtendedFileRow& row) {
  if (row.owner == kOwnerInterruptSlot) return {"Int", "-", "0"};
  return {"Sch", std::to_string(row.schedule), std::to_string(row.slot)};
}

ExtendedFilesResult StoreExtendedFileRows(std::span<const ExtendedFileRow> rows,
                                          ExtendedFileTable& files,
                                          monitor::MessageSink& messages) {
  const auto withFile = [](const ExtendedFileRow& row) { return !row.path.empty(); };
  if (std::ranges::count_if(rows, withFile) > static_cast<std::ptrdiff_t>(kExtendedFilesInUse)) {
    monitor::ShowErrorBox(messages, kTooManyExtendedFilesText);
    return {ExtendedFilesOutcome::kTooMany, 0};
  }
  for (std::size_t row = 0; row < rows.size(); ++row) {
    if (rows[row].path.size() > kMaxBindingPath) {
      monitor::ShowErrorMessage(messages, kPathTooLongMessage);
      return {ExtendedFilesOutcome::kPathTooLong, row};
    }
  }

  std::size_t next = 0;
  bool missing = false;
  for (const ExtendedFileRow& row : rows) {
    if (!withFile(row)) continue;
    ExtendedFileBinding& binding = files[next++];
    binding = {};
    binding.owner = row.owner;
    binding.scheduleIndex = static_cast<std::uint8_t>(row.schedule);
    binding.slotIndex = static_cast<std::uint8_t>(row.slot);
    settings::CopyToField(row.path, binding.path);
    missing = missing || !FileExists(row.path);
  }
  for (; next < kExtendedFilesInUse; ++next) files[next] = {};
  if (missing) {
    monitor::ShowWarningBox(messages, kMissingExtendedFileText);
    files = {};
    return {ExtendedFilesOutcome::kStoredCleared, 0};
  }
  return {};
}

}  // namespace orvane::simulation
