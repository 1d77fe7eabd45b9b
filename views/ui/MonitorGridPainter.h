// Paints the monitor views' traffic grid: the header row with its grid
// lines, and record rows from the cells of views::FormatRow. It only draws
// what it is given; which record goes into which row is the caller's.
//
// Metrics come from the grid font: rowHeight = font height + 1, charWidth =
// the font's average character width, the unit of all column widths. Texts
// longer than their column (the Time text in its 11 characters, " SyncBreak-L"
// in the 9 of Error) are drawn narrower so that they fit, as the columns'
// widths in characters intend; every other text keeps the font's own width.
//
// Threads: the user-interface thread (QPainter on a widget or image).
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QStaticText>
#include <array>
#include <string>
#include <string_view>
#include <unordered_map>

#include "views/MonitorGridLayout.h"
#include "views/MonitorRowFormat.h"

class QPainter;

namespace orvane::ui {

class MonitorGridPainter {
 public:
  MonitorGridPainter(const QFont& font, const views::GridLayout& layout);

  int rowHeight() const { return rowHeight_; }
  int charWidth() const { return charWidth_; }
  const views::GridColumns& columns() const { return columns_; }

  // The header row at `y`: texts on grey, then the grid lines with the grey,
  // black and white pens; the horizontal lines span `clientWidth`.
  void PaintHeader(QPainter& painter, int y, int clientWidth) const;
  // One record row at `y`, as if each cell were drawn in turn as opaque
  // text: a cell covers its column's x to its text length (plus the pixel
  // between two columns), and later cells cover earlier ones. To be quick
  // the backgrounds that stay visible are filled once per colour run, and
  // only the texts that stay visible are drawn.
  void PaintRow(QPainter& painter, int y, const views::RowCells& row) const;

 private:
  // The stretch (percent) for a text of `length` characters in a column
  // `width` characters wide: 100, or less so that it fits.
  static int StretchFor(int length, int width);
  const QFont& FontOf(int stretch) const;
  // The text prepared for drawing in the font of `stretch`; kept for reuse.
  const QStaticText& Prepared(std::string_view text, int stretch) const;
  void DrawText(QPainter& painter, int x, int y, std::string_view text, int width) const;

  QFont font_;
  int rowHeight_;
  int charWidth_;
  int ascent_;
  views::GridColumns columns_;
  mutable std::array<QFont, 101> condensed_;  // by stretch percentage; built on first use
  mutable std::array<bool, 101> condensedMade_{};
  // Prepared texts by stretch and text; cleared when it grows large.
  mutable std::unordered_map<std::string, QStaticText> prepared_;
  mutable int painterStretch_ = 0;  // the stretch of the painter's font; 0 unknown
};

QColor ToQColor(views::Rgb rgb);

}  // namespace orvane::ui
