// The logic of the signal monitor window without its list view: which rows
// the selection gives, in display order, and the texts of a row.
//
// The window calls these on the user-interface thread. The latest frame data
// and counts come from the LastFrameTable, which the acquisition thread
// writes without a lock; each slot is loaded as one consistent record.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "signals/LinDescription.h"
#include "signals/SignalDecode.h"
#include "signals/SignalDisplayOrder.h"
#include "signals/SignalSelection.h"

namespace orvane::signals {

struct SignalRow {
  std::uint8_t frame = 0;  // index into the description's frames
  std::uint8_t entry = 0;  // index into the frame's entries
  bool operator==(const SignalRow&) const = default;
};

struct SignalRowText {
  std::string name;    // "Signal Name"
  std::string value;   // "Value": the raw value in decimal
  std::string encode;  // "Encode"
  std::string count;   // "Count"
};

// One row per selected signal entry: frames in display order, entries in
// frame order. Its size is also the number of selected entries, which the
// window compares on every tick to see whether the rows must be rebuilt.
std::vector<SignalRow> BuildSignalRows(const LinDescription& description, SortOrder order,
                                       const SignalSelection& selection);

// The raw value of a row's signal: while no frame of its identifier was seen
// (count 0) the low 32 bits of the signal's initial value, otherwise the
// value extracted from the latest frame's data; cut to 16 bits.
std::uint16_t RowRawValue(const Signal& signal, std::uint32_t bitOffset,
                          std::span<const std::uint8_t, kDataBytes> latestData,
                          std::uint32_t count);

// The texts of a row, from the latest complete frame of the row's identifier
// and its counter. "Encode" is the encoding's text, or the raw value in
// decimal when no entry of the encoding covers it. A row that does not name
// an entry of the description gives empty texts.
SignalRowText FillSignalRow(const LinDescription& description, SignalRow row,
                            std::span<const std::uint8_t, kDataBytes> latestData,
                            std::uint32_t count);

}  // namespace orvane::signals
