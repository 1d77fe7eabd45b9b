// The column layout of the monitor views' traffic grid: column
// widths in characters for the "IDEN" and "ID+DLC" headers in Japanese and
// in any other language, the header texts, and the x position of every
// column for a given character width.
//
// Record rows use the same columns as the header. Under the 16-column
// "ID+DLC" header a row shows no Sync cell; its ID and DLC cells hold the
// identifier's low 4 bits and its LIN 1.x length code, as the log writes
// them for that mode (our layout for that header).
//
// Pure values and functions; any thread.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvane::views {

inline constexpr int kGridColumnsMax = 17;

// Which header the grid shows, from the application-wide values.
struct GridLayout {
  bool identifierWithLengthCode = false;  // IdentifierFieldMode "ID+DLC"
  bool japanese = false;                  // LanguageCode "JPN"

  static GridLayout Of(std::string_view languageCode, std::string_view identifierFieldMode) {
    return GridLayout{identifierFieldMode == "ID+DLC", languageCode == "JPN"};
  }
};

// Where the cells of a record row go: column indices (-1 for none) and the
// widths in characters of the cells padded to their column.
struct RowColumns {
  int time = 0;
  int node = 1;
  int direction = 2;
  int command = 3;
  int error = 4;
  int sync = 5;        // -1 under the ID+DLC header
  int identifier = 6;  // IDEN, or ID under the ID+DLC header
  int length = 7;      // DL, or DLC under the ID+DLC header
  int data0 = 8;       // D0; D1-D7 follow
  int sum = 16;
  int ioBlanks = 5;  // the 6th column, where an I/O event's run of blanks starts
  int syncWidth = 5;
  int identifierWidth = 5;
  int lengthWidth = 3;
  int dataWidth = 3;
  int sumWidth = 4;
};

RowColumns RowColumnsOf(const GridLayout& layout);

class GridColumns {
 public:
  GridColumns(const GridLayout& layout, int charWidth);

  const GridLayout& layout() const { return layout_; }
  int charWidth() const { return charWidth_; }
  // 17 columns for IDEN, 16 for ID+DLC.
  int count() const { return count_; }
  // Width of a column in characters (the last, "Sum", is 4).
  int width(int column) const { return widths_[static_cast<std::size_t>(column)]; }
  // Left x of a column: column 0 at 0, each next one at the previous x plus
  // width × charWidth + 1.
  int x(int column) const { return x_[static_cast<std::size_t>(column)]; }
  // Right end of the last column.
  int rowWidth() const { return x(count_ - 1) + width(count_ - 1) * charWidth_; }
  // The header text of a column: one leading blank, padded with blanks to
  // the column's width.
  const std::string& title(int column) const { return titles_[static_cast<std::size_t>(column)]; }
  // The column whose x range [x, next x) holds `x`; -1 left of column 0 or
  // right of the last column.
  int ColumnAt(int x) const;

 private:
  GridLayout layout_;
  int charWidth_;
  int count_;
  std::array<int, kGridColumnsMax> widths_{};
  std::array<int, kGridColumnsMax> x_{};
  std::array<std::string, kGridColumnsMax> titles_{};
};

// The header's horizontal grid line lies this far above the bottom of the
// header row: 7 pixels with "JPN", else 5.
inline int HeaderLineInset(const GridLayout& layout) {
  return layout.japanese ? 7 : 5;
}

}  // namespace orvane::views
