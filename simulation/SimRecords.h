// The stored records of master and slave simulation: the editable slot of
// one simulated frame, the 16 master schedules, the interrupt slot, the
// schedule names, the extended frame file table and the slave responses,
// with their defaults for a new configuration.
//
// Every record is stored byte for byte in the configuration file, so the
// layouts are fixed. Plain data of the user-interface thread: the setup
// dialogs edit it while monitoring is stopped, the simulation tick and the
// simulation monitor windows read it.
//
// `delay` and `triggerValue` of a SimSlot lie at unaligned offsets: read and
// write them by value, never through a reference or a pointer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace orvane::simulation {

inline constexpr std::size_t kSlotDataSize = 8;
inline constexpr std::size_t kPatternPathSize = 256;

enum SlotCommand : std::uint8_t {
  kCommandTx = 0,
  kCommandRx = 1,
  kCommandSleep = 2,
  kCommandWakeup = 3,
  kCommandExtendedRx = 4,
  kCommandExtendedTx = 5,
  kCommandUnrecognised = 0x10,
  kCommandNone = 0xFF,
};

enum SlotTrigger : std::uint8_t {
  kTriggerNone = 0,
  kTriggerTimer = 1,
  kTriggerKey = 2,
};

inline constexpr std::uint8_t kExtendedFrameIdLow = 0x3E;  // 0x3E and 0x3F carry extended frames
inline constexpr std::uint8_t kExtendedFrameIdHigh = 0x3F;

#pragma pack(push, 1)
struct SimSlot {
  std::uint8_t enable;          // 1 = the slot takes part
  std::uint8_t reserved1;
  std::int32_t delay;           // milliseconds 1-65535; -1 = not entered
  std::uint8_t command;         // SlotCommand
  std::uint8_t identifier;      // 0x00-0x3F
  std::uint8_t data[kSlotDataSize];
  std::uint8_t error;           // 0 none, 1 Parity, 2 CheckSum, 3 ShortMsg, 4 SyncBreak-L, 5 SyncField, 6 SyncBreak-S
  std::uint8_t oneTime;         // 1 = sent one time only
  std::uint8_t pattern;         // 1 = command, identifier and data come from a pattern file
  std::uint8_t repeatPattern;   // 1 = the pattern starts again after its last row
  std::uint8_t trigger;         // SlotTrigger
  std::uint8_t reserved2;
  std::int32_t triggerValue;    // timer: interval in ms; key: virtual-key code
  char patternPath[kPatternPathSize];  // zero-terminated; empty = none
};
#pragma pack(pop)
static_assert(sizeof(SimSlot) == 282);
static_assert(offsetof(SimSlot, delay) == 2);
static_assert(offsetof(SimSlot, command) == 6);
static_assert(offsetof(SimSlot, identifier) == 7);
static_assert(offsetof(SimSlot, data) == 8);
static_assert(offsetof(SimSlot, error) == 16);
static_assert(offsetof(SimSlot, oneTime) == 17);
static_assert(offsetof(SimSlot, trigger) == 20);
static_assert(offsetof(SimSlot, triggerValue) == 22);
static_assert(offsetof(SimSlot, patternPath) == 26);

inline constexpr std::size_t kScheduleCount = 16;
inline constexpr std::size_t kSlotsPerSchedule = 32;

#pragma pack(push, 1)
struct MasterSchedule {
  std::uint8_t enable;  // the "Enable" check box
  std::uint8_t repeat;  // the "Repeat" check box
  SimSlot slots[kSlotsPerSchedule];
};
#pragma pack(pop)
static_assert(sizeof(MasterSchedule) == 9026);
static_assert(offsetof(MasterSchedule, slots) == 2);

using MasterSchedules = std::array<MasterSchedule, kScheduleCount>;
static_assert(sizeof(MasterSchedules) == 144416);

inline constexpr std::size_t kScheduleNameSize = 16;  // 15 characters and a zero
using ScheduleNames = std::array<std::array<char, kScheduleNameSize>, kScheduleCount>;
static_assert(sizeof(ScheduleNames) == 256);

// Application-wide run settings of the master simulation, stored together
// as 12 bytes (three words without padding).
struct MasterRunSettings {
  std::int32_t CurrentSchedule;  // 0-15; -1 is read as 0
  std::int32_t ScheduleModeOn;   // 1 = the schedule runs and its pattern slots advance
  std::int32_t InterruptModeOn;  // 1 = the interrupt key sends the interrupt slot
};
static_assert(sizeof(MasterRunSettings) == 12);

inline constexpr std::size_t kExtendedFileRecordCount = 8;
inline constexpr std::size_t kExtendedFilesInUse = 4;
inline constexpr std::size_t kExtendedFilePathSize = 257;

enum ExtendedFileOwner : std::uint8_t {
  kOwnerScheduleSlot = 0,
  kOwnerInterruptSlot = 1,
};

#pragma pack(push, 1)
struct alignas(2) ExtendedFileBinding {
  std::uint8_t owner;          // ExtendedFileOwner
  std::uint8_t scheduleIndex;  // 0-15
  std::uint8_t slotIndex;      // 0-31
  char path[kExtendedFilePathSize];  // empty = free record
  std::uint16_t length;        // bytes read at the last download, at most 256
};
#pragma pack(pop)
static_assert(sizeof(ExtendedFileBinding) == 262);
static_assert(offsetof(ExtendedFileBinding, path) == 3);
static_assert(offsetof(ExtendedFileBinding, length) == 260);

using ExtendedFileTable = std::array<ExtendedFileBinding, kExtendedFileRecordCount>;
static_assert(sizeof(ExtendedFileTable) == 2096);

inline constexpr std::size_t kSlaveResponseCount = 16;
inline constexpr std::uint8_t kNoSlaveIdentifier = 0x40;

using SlaveResponses = std::array<SimSlot, kSlaveResponseCount>;
static_assert(sizeof(SlaveResponses) == 4512);

inline constexpr std::int32_t kDefaultTimerInterval = 50;
inline constexpr std::int32_t kKeyF1 = 0x70;

// Disabled, delay 1, Tx on identifier 0x10, no data, no error, timer
// trigger with interval 50, no pattern file.
SimSlot DefaultMasterSlot();
// All zero except identifier 0x10 and the key trigger F1.
SimSlot DefaultInterruptSlot();
// Disabled, identifier 0x40 (none), Tx, timer trigger with interval 50.
SimSlot DefaultSlaveResponse();
// Disabled, repeat off, every slot the default master slot.
MasterSchedule DefaultMasterSchedule();
// "S1" to "S16".
ScheduleNames DefaultScheduleNames();

}  // namespace orvane::simulation
