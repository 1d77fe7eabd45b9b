#include "app/ConfigurationLayout.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <type_traits>

namespace orvane::app {

static_assert(std::endian::native == std::endian::little,
              "configuration files hold the little-endian memory images of their records");

namespace {

using settings::SettingsRecord;

// A record's memory image; const when the configuration is.
template <typename Byte, typename Field>
std::span<Byte> Image(Field& field) {
  static_assert(std::is_trivially_copyable_v<std::remove_const_t<Field>>);
  return {reinterpret_cast<Byte*>(&field), sizeof(Field)};
}

// The blocks behind the settings record, in file order.
template <typename Config>
auto BlocksAfterSettings(Config& c) {
  using Byte = std::conditional_t<std::is_const_v<Config>, const std::uint8_t, std::uint8_t>;
  return std::array{
      Image<Byte>(c.Options.BaudRateCode),   Image<Byte>(c.Options.LoggingEnabled),
      Image<Byte>(c.SlaveMasterId),          Image<Byte>(c.SlaveResponses),
      Image<Byte>(c.Schedules),              Image<Byte>(c.InterruptSlot),
      Image<Byte>(c.Options.MaskEnabled),    Image<Byte>(c.Options.MaskIds),
      Image<Byte>(c.ExtendedFiles),          Image<Byte>(c.Options.FrameTiming),
      Image<Byte>(c.MasterRun),              Image<Byte>(c.ScheduleNames),
      Image<Byte>(c.Options.FillData),
  };
}

constexpr std::size_t kBlocksAfterSettingsSize = kCurrentFileSize - sizeof(SettingsRecord);
static_assert(kOlderFileSize - kOlderSettingsRecordSize == kBlocksAfterSettingsSize);

// Byte ranges of the settings record that the older layout keeps, in order.
struct RecordRange {
  std::size_t offset;
  std::size_t size;
};
constexpr std::array kOlderRecordRanges{
    // LIN revision, description path and reference, signal selection and
    // the head of the option record.
    RecordRange{0, offsetof(SettingsRecord, Options) + settings::kOlderOptionSettingsExtSize},
    RecordRange{offsetof(SettingsRecord, Identifiers), sizeof(settings::IdentifierDefinition)},
};
static_assert(kOlderRecordRanges[0].size + kOlderRecordRanges[1].size == kOlderSettingsRecordSize);

}  // namespace

std::optional<FileLayout> LayoutOfSize(std::uintmax_t size) {
  if (size == kCurrentFileSize) return FileLayout::Current;
  if (size == kOlderFileSize) return FileLayout::Older;
  return std::nullopt;
}

std::size_t SettingsRecordSize(FileLayout layout) {
  return layout == FileLayout::Current ? sizeof(SettingsRecord) : kOlderSettingsRecordSize;
}

std::vector<std::uint8_t> EncodeConfiguration(const Configuration& configuration) {
  std::vector<std::uint8_t> file;
  file.reserve(kCurrentFileSize);
  const auto record = Image<const std::uint8_t>(configuration.Settings);
  file.insert(file.end(), record.begin(), record.end());
  for (const auto block : BlocksAfterSettings(configuration)) {
    file.insert(file.end(), block.begin(), block.end());
  }
  return file;
}

void DecodeSettingsRecord(std::span<const std::uint8_t> file, FileLayout layout,
                          SettingsRecord& record) {
  const auto image = Image<std::uint8_t>(record);
  if (layout == FileLayout::Current) {
    std::copy_n(file.begin(), image.size(), image.begin());
    return;
  }
  std::size_t position = 0;
  for (const RecordRange& range : kOlderRecordRanges) {
    std::copy_n(file.begin() + position, range.size, image.begin() + range.offset);
    position += range.size;
  }
}

void DecodeBlocksAfterSettings(std::span<const std::uint8_t> file, FileLayout layout,
                               Configuration& configuration) {
  std::size_t position = SettingsRecordSize(layout);
  for (const auto block : BlocksAfterSettings(configuration)) {
    std::copy_n(file.begin() + position, block.size(), block.begin());
    position += block.size();
  }
}

}  // namespace orvane::app
