// One record row of the monitor views' traffic grid: the record turned into the cells the paint
// code draws, in drawing order, each with its column, its padded text and its colour roles.
//
// Cells are drawn one after the other as opaque text at their column's x,
// so a later cell covers what an earlier, longer one left in its column
// (the " Error" text runs on under the Error cell, the Time text under the
// M/S cell). The paint code draws exactly these cells and nothing else.
//
// Pure functions over plain values; any thread. Nothing is allocated per
// row: RowCells keeps its texts in a fixed buffer.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "monitor/MonitorRecord.h"
#include "monitor/TextBuffer.h"
#include "settings/FrameHighlightCondition.h"
#include "settings/SettingsRecord.h"
#include "views/MonitorGridLayout.h"

namespace orvane::views {

enum class CellBackground : std::uint8_t {
  kWhite,            // RGB(255,255,255)
  kHighlight,        // RGB(200,200,200): the found row
  kError,            // RGB(255,0,0): Command cell of an Error record
  kSimulationError,  // RGB(255,255,0): Command cell of a simulation error record
  kMarker,           // RGB(255,255,0): Time cell of the relative time marker's record
  kSpecial1,         // RGB(255,0,0) red
  kSpecial2,         // RGB(100,100,250) blue
  kSpecial3,         // RGB(0,200,0) green
  kSpecial4,         // RGB(250,50,250) purple
};

enum class CellInk : std::uint8_t {
  kBlack,  // RGB(0,0,0)
  kRx,     // RGB(255,0,0): " Rx"
  kTx,     // RGB(0,0,255): " Tx"
};

struct Rgb {
  std::uint8_t red, green, blue;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

Rgb ToRgb(CellBackground background);
Rgb ToRgb(CellInk ink);
// The header's text background, RGB(200,200,200).
inline constexpr Rgb kHeaderBackground{200, 200, 200};

struct RowCell {
  std::uint8_t column;  // index into GridColumns
  CellBackground background;
  CellInk ink;
  std::uint16_t offset;  // of the text in RowCells
  std::uint16_t length;  // characters, trailing blanks included
};

// The cells of one row in drawing order.
class RowCells {
 public:
  static constexpr std::size_t kMaxCells = 24;

  std::span<const RowCell> cells() const { return std::span(cells_).first(count_); }
  std::string_view Text(const RowCell& cell) const {
    return text_.View().substr(cell.offset, cell.length);
  }

  void Clear();
  void Add(int column, std::string_view text, int paddedLength, CellBackground background,
           CellInk ink = CellInk::kBlack);

 private:
  std::array<RowCell, kMaxCells> cells_{};
  std::size_t count_ = 0;
  monitor::TextBuffer<640> text_;
};

// What a view knows when it formats rows: its copies of the identifier
// data lengths and the special frame conditions (taken at construction and
// at every start), the I/O event names and the application-wide layout.
struct RowFormat {
  GridLayout layout;
  bool hexRadix = true;  // DataRadix "HEX": the ID cell of the ID+DLC layout in hex
  std::array<std::uint8_t, 64> dataLengths{};
  // Names of the I/O events of kinds 10-15 (rising, falling of channels 1-3).
  std::array<std::string, 6> ioEventNames{"IO1_UP", "IO1_DN", "IO2_UP",
                                          "IO2_DN", "IO3_UP", "IO3_DN"};
  settings::FrameHighlightConditions specialFrames{};
  // Kinds 0 (Monitor) and 2 (Capture) colour special frames.
  bool markSpecialFrames = true;
};

RowFormat MakeRowFormat(const settings::SettingsRecord& settings, std::string_view languageCode,
                        std::string_view identifierFieldMode, std::string_view dataRadix);

// How one row is marked.
struct RowMarks {
  bool highlighted = false;  // the found record: grey row
  bool marked = false;       // the relative time marker's own record: yellow Time cell
  // The marker's time while a marker is set: the Time cell shows the
  // record's time less this.
  std::optional<std::int32_t> relativeTo;
};

void FormatRow(const monitor::MonitorRecord& record, const RowFormat& format, const RowMarks& marks,
               RowCells& out);

// The Time cell's text: the time text of the log for `time`, or
// for `time` − `relativeTo` (32-bit wrap-around, as the analyzer counts).
std::string_view FormatTimeCell(std::int32_t time, std::optional<std::int32_t> relativeTo,
                                monitor::TextBuffer<24>& text);

}  // namespace orvane::views
