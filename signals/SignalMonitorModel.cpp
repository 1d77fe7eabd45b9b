#include "signals/SignalMonitorModel.h"

namespace orvane::signals {

std::vector<SignalRow> BuildSignalRows(const LinDescription& description, SortOrder order,
                                       const SignalSelection& selection) {
  std::vector<SignalRow> rows;
  for (const std::uint8_t frame : FramesInDisplayOrder(description, order)) {
    const std::size_t entries = description.frames[frame].entries.size();
    for (std::size_t entry = 0; entry < entries; ++entry) {
      if (selection.EntrySelected(frame, static_cast<unsigned>(entry))) {
        rows.push_back({frame, static_cast<std::uint8_t>(entry)});
      }
    }
  }
  return rows;
}

std::uint16_t RowRawValue(const Signal& signal, std::uint32_t bitOffset,
                          std::span<const std::uint8_t, kDataBytes> latestData,
                          std::uint32_t count) {
  if (count == 0) return static_cast<std::uint16_t>(signal.initialValue & 0xFFFF);
  return ExtractRawValue(latestData, bitOffset, signal.size);
}

SignalRowText FillSignalRow(const LinDescription& description, SignalRow row,
                            std::span<const std::uint8_t, kDataBytes> latestData,
                            std::uint32_t count) {
  if (row.frame >= description.frames.size()) return {};
  const Frame& frame = description.frames[row.frame];
  if (row.entry >= frame.entries.size()) return {};
  const FrameEntry& entry = frame.entries[row.entry];
  const Signal& signal = description.signals[entry.signal];
  const std::uint16_t raw = RowRawValue(signal, entry.bitOffset, latestData, count);
  SignalRowText text{signal.name, std::to_string(raw), {}, std::to_string(count)};
  if (signal.encoding != kNoEncoding) {
    const Encoding& encoding = description.encodings[static_cast<std::size_t>(signal.encoding)];
    // A raw value no entry covers (only a relaxed load lets such an
    // encoding pass) shows as the number it is.
    text.encode = ApplicableEntry(encoding, raw) == nullptr
                      ? text.value
                      : EncodeText(encoding, raw, signal.size);
  }
  return text;
}

}  // namespace orvane::signals
