#include "simulation/ExtendedFiles.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <optional>

#include "settings/FixedText.h"
#include "monitor/MessageCatalogue.h"

namespace orvane::simulation {

namespace {

constexpr std::int32_t kFileReadMessage = 1001;
constexpr std::int32_t kDataWriteMessage = 1002;
constexpr std::size_t kBlockSize = analyzer::kExtendedDataSize;

bool HasPath(const ExtendedFileBinding& binding) {
  return !settings::FieldText(binding.path).empty();
}

void PointAtFile(SimEntry& entry, std::size_t index, const ExtendedFileBinding& binding) {
  entry.kind = static_cast<std::uint8_t>((entry.kind & ~kKindMask) | kKindExtendedFile);
  std::ranges::fill(entry.data, 0);
  entry.data[0] = static_cast<std::uint8_t>(index);
  entry.data[1] = static_cast<std::uint8_t>(binding.length & 0xFF);
  entry.data[2] = static_cast<std::uint8_t>(binding.length >> 8);
}

const SimSlot* OwnerSlot(const ExtendedFileBinding& binding, const MasterSchedules& schedules,
                         const SimSlot& interruptSlot) {
  if (binding.owner == kOwnerInterruptSlot) return &interruptSlot;
  if (binding.owner == kOwnerScheduleSlot && binding.scheduleIndex < kScheduleCount &&
      binding.slotIndex < kSlotsPerSchedule) {
    return &schedules[binding.scheduleIndex].slots[binding.slotIndex];
  }
  return nullptr;
}

bool CarriesExtendedFrame(const SimSlot* slot) {
  return slot != nullptr && (slot->identifier & 0x3F) >= kExtendedFrameIdLow;
}

// Reads at most one block of the file; nothing when it cannot be read.
std::optional<std::size_t> ReadBlock(std::string_view path,
                                     std::span<std::uint8_t, kBlockSize> block) {
  const std::filesystem::path file(path);
  std::error_code error;
  if (std::filesystem::is_directory(file, error)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  in.read(reinterpret_cast<char*>(block.data()), static_cast<std::streamsize>(block.size()));
  if (in.bad()) return std::nullopt;
  return static_cast<std::size_t>(in.gcount());
}

}  // namespace

void BindExtendedFiles(const ExtendedFileTable& files, std::size_t schedule, ScheduleTable& table) {
  for (std::size_t index = 0; index < kExtendedFilesInUse; ++index) {
    const ExtendedFileBinding& binding = files[index];
    if (HasPath(binding) && binding.owner == kOwnerScheduleSlot &&
        binding.scheduleIndex == schedule && binding.slotIndex < table.size()) {
      PointAtFile(table[binding.slotIndex], index, binding);
    }
  }
}

void BindExtendedFiles(const ExtendedFileTable& files, InterruptEntry& entry) {
  for (std::size_t index = 0; index < kExtendedFilesInUse; ++index) {
    const ExtendedFileBinding& binding = files[index];
    if (HasPath(binding) && binding.owner == kOwnerInterruptSlot) {
      PointAtFile(entry, index, binding);
    }
  }
}

void BindExtendedFiles(const ExtendedFileTable& files, MasterRunState& state) {
  for (std::size_t s = 0; s < kScheduleCount; ++s) BindExtendedFiles(files, s, state.tables[s]);
  BindExtendedFiles(files, state.interruptEntry);
}

bool DownloadExtendedFiles(ExtendedFileTable& files, const MasterSchedules& schedules,
                           const SimSlot& interruptSlot, const analyzer::RegisterMap& link,
                           monitor::MessageSink& messages) {
  std::array<std::array<std::uint8_t, kBlockSize>, kExtendedFilesInUse> blocks{};
  for (std::size_t index = 0; index < kExtendedFilesInUse; ++index) {
    ExtendedFileBinding& binding = files[index];
    if (!CarriesExtendedFrame(OwnerSlot(binding, schedules, interruptSlot))) {
      settings::CopyToField("", binding.path);
    }
    if (!HasPath(binding)) continue;
    const std::optional<std::size_t> length =
        ReadBlock(settings::FieldText(binding.path), blocks[index]);
    if (!length) {
      monitor::ShowErrorMessage(messages, kFileReadMessage);
      return false;
    }
    binding.length = static_cast<std::uint16_t>(*length);
  }

  bool written = true;
  for (std::size_t index = 0; index < kExtendedFilesInUse; ++index) {
    if (!link.WriteExtendedData(static_cast<int>(index), blocks[index])) {
      monitor::ShowErrorMessage(messages, kDataWriteMessage);
      written = false;
    }
  }
  return written;
}

}  // namespace orvane::simulation
