// The analyzer and monitoring parameters of the "Option Setup" dialog.
//
// `OptionSettingsExt` is the 108-byte record inside the settings record that
// the dialog edits as a whole; `FrameTimingRecord` is the 14 bytes written to
// the analyzer's frame timing register; `OptionSettings` holds the remaining
// option values, each stored at its own place in the configuration file.
//
// Plain data without locks: the user-interface thread changes it while
// monitoring is stopped; the acquisition thread reads `MaskEnabled` and
// `MaskIds` while it runs, which is safe only because they do not change
// during a run.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "settings/BaudRateTable.h"

namespace orvane::settings {

inline constexpr std::size_t kIoChannelCount = 3;
inline constexpr std::size_t kIoEdgeNameSize = 11;
inline constexpr std::size_t kLogNumberSize = 4;  // three digits and a zero
inline constexpr std::uint32_t kMinWakeupMicros = 50;
inline constexpr std::uint32_t kMaxWakeupMicros = 10000;
inline constexpr std::uint32_t kDefaultWakeupMicros = 250;

enum SortOrder : std::uint8_t {
  kOrderOfId = 0,
  kOrderOfNode = 1,
};

#pragma pack(push, 1)
struct alignas(4) IoChannel {
  std::uint32_t enabled;
  char risingName[kIoEdgeNameSize];   // zero-terminated
  char fallingName[kIoEdgeNameSize];  // zero-terminated
  std::uint8_t padding[2];
};
static_assert(sizeof(IoChannel) == 28);

struct alignas(4) OptionSettingsExt {
  std::uint8_t BreakSelect;
  std::uint8_t padding1[3];
  std::uint32_t WakeupMicros;  // 50-10000, a multiple of 50
  std::uint32_t EachMode;      // 1 = monitor each mode on
  std::uint8_t SortOrder;      // enum SortOrder
  std::uint8_t padding2[3];
  // Three channels of 28 bytes fill bytes 16-99; the record has no room
  // for a separate reserved word in front of the log numbering.
  IoChannel IoChannels[kIoChannelCount];
  std::uint32_t LogNumbering;          // 1 = append the log number to the log file name
  char LogNumber[kLogNumberSize];      // "000"-"999"
};
#pragma pack(pop)
static_assert(sizeof(OptionSettingsExt) == 108);
static_assert(offsetof(OptionSettingsExt, WakeupMicros) == 4);
static_assert(offsetof(OptionSettingsExt, EachMode) == 8);
static_assert(offsetof(OptionSettingsExt, SortOrder) == 12);
static_assert(offsetof(OptionSettingsExt, IoChannels) == 16);
static_assert(offsetof(OptionSettingsExt, LogNumbering) == 100);
static_assert(offsetof(OptionSettingsExt, LogNumber) == 104);

// The older configuration layout keeps only the fields before the I/O channels.
inline constexpr std::size_t kOlderOptionSettingsExtSize = offsetof(OptionSettingsExt, IoChannels);

#pragma pack(push, 1)
struct FrameTimingRecord {
  std::uint8_t TimingBlock[kTimingBlockSize];  // timing entry of the selected baud rate
  std::uint8_t SpaceA;     // 0-60 bit times, first frame space
  std::uint8_t SpaceB;     // 0-60 bit times, second frame space
  std::uint8_t ByteSpace;  // 0-60 bit times after every data byte
  std::uint8_t spare;      // written and read back, not used
};
#pragma pack(pop)
static_assert(sizeof(FrameTimingRecord) == 14);
static_assert(offsetof(FrameTimingRecord, SpaceA) == 10);

inline constexpr std::size_t kMaskIdCount = 8;
inline constexpr std::uint8_t kEmptyMaskId = 0xFF;

struct OptionSettings {
  std::uint8_t BaudRateCode = 0;
  std::uint32_t LoggingEnabled = 0;
  FrameTimingRecord FrameTiming{};
  std::uint32_t MaskEnabled = 0;
  std::array<std::uint8_t, kMaskIdCount> MaskIds{};  // 0x00-0x3F, 0xFF empty
  // 0 "Ignore over data", 1 "Skip 1Pattern"; not stored in the file.
  std::uint32_t ShortPatternMode = 0;
  // 0 "Set the following data", 1 "Skip 1Pattern"; not stored in the file.
  std::uint32_t LongPatternMode = 0;
  std::array<std::uint8_t, 8> FillData{};
};

OptionSettingsExt DefaultOptionSettingsExt();
OptionSettings DefaultOptionSettings();

// Copies the timing entry of `BaudRateCode` into `TimingBlock`, as every
// write of the frame parameters does. Returns false, leaving the block as
// it is, when the code is not in the baud rate table.
bool ApplyBaudRateTiming(OptionSettings& options);

}  // namespace orvane::settings
