// What the slave simulation monitor window shows of the 16 slave responses
// and how its edits reach a response and its slave table entry: the 13
// columns, the cells of a response's row, the frame in force while a run
// follows a pattern, and the edits made while monitoring is stopped or
// while a slave run is in progress.
//
// Pure functions of the user-interface thread; they change only what they
// are given.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/IdentifierDefinition.h"
#include "simulation/SimEntry.h"
#include "simulation/SimRecords.h"

namespace orvane::simulation {

enum SlaveMonitorColumn : unsigned {
  kSlaveColumnError,
  kSlaveColumnIdentifier,
  kSlaveColumnData0,
  kSlaveColumnData7 = kSlaveColumnData0 + kSlotDataSize - 1,
  kSlaveColumnSum,
  kSlaveColumnTrigger,
  kSlaveColumnFile,
  kSlaveColumnCount
};

constexpr bool IsSlaveDataColumn(unsigned column) {
  return column >= kSlaveColumnData0 && column <= kSlaveColumnData7;
}

struct SlaveMonitorColumnLayout {
  std::string_view title;
  int width;  // pixels
};

inline constexpr std::array<SlaveMonitorColumnLayout, kSlaveColumnCount> kSlaveMonitorColumns = {{
    {"Error", 60},
    {"IDEN", 40},
    {"D0", 30},
    {"D1", 30},
    {"D2", 30},
    {"D3", 30},
    {"D4", 30},
    {"D5", 30},
    {"D6", 30},
    {"D7", 30},
    {"Sum", 34},
    {"Timer/Key", 69},
    {"File", 78},
}};

// The most characters of the editor that spans D0-D7 while a run is in
// progress: eight bytes and seven commas.
inline constexpr std::size_t kRunningDataTextLimit = 23;

using SlaveMonitorRow = std::array<std::string, kSlaveColumnCount>;

// The row of a response: "Error" its name (empty for none); with a valid
// identifier (bit 6 clear) "IDEN" "%02x", D0 to D(d-1) "%02x" for the
// defined data length d and "Sum" "%02x" of their checksum, otherwise
// these cells empty; "Timer/Key" as TriggerText; "File" the name of the
// pattern path.
SlaveMonitorRow SlaveMonitorCells(const SimSlot& response,
                                  const settings::IdentifierDefinition& identifiers);

// The frame in force: the data cells and "Sum" rewritten from the entry's
// data, for the row's identifier's defined length. A row without a valid
// identifier stays as it is.
void ShowEntryData(SlaveMonitorRow& row, const SimEntry& entry,
                   const settings::IdentifierDefinition& identifiers);

// What the editor across D0-D7 starts with: the data cells shown, joined
// by ",".
std::string RunningDataText(const SlaveMonitorRow& row);

// The error code of a name of the "Error" drop-down ("(None)" 0,
// "CheckSum" 2, "ShortMsg" 3); nothing for any other text.
std::optional<std::uint8_t> SlaveErrorCode(std::string_view name);

// The slave setup changed: the entry takes the response's identifier and
// data.
void CopyResponseFrame(const SimSlot& response, SimEntry& entry);

// A data byte typed while monitoring is stopped. When it differs from the
// response's, it goes into the response, and the entry is rebuilt from the
// response as an enabled Tx response. Gives whether anything changed.
bool StoreStoppedData(SimSlot& response, SimEntry& entry, std::size_t index, std::uint8_t value);

// The data typed while a slave run is in progress (ParseRunningData: up to
// eight hexadecimal bytes separated by ","). The bytes go into the entry
// and the response, and the entry is marked changed when they differ from
// it; the next simulation tick downloads the table. Gives whether anything
// changed; nothing, with both unchanged, when the text is invalid.
std::optional<bool> StoreRunningData(std::string_view text, SimSlot& response, SimEntry& entry);

// An error chosen while a slave run is in progress: the entry's kind
// becomes SlaveErrorKind(error) and the response keeps the error.
void StoreRunningError(SimSlot& response, SimEntry& entry, std::uint8_t error);

}  // namespace orvane::simulation
