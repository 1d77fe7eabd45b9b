#include "views/ui/MonitorGridPainter.h"

#include <QPainter>
#include <algorithm>

namespace orvane::ui {
namespace {

const QColor kWhite(255, 255, 255);
const QColor kGreyPen(120, 120, 120);

std::string_view TrimRight(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

// The narrowest a text is drawn, in percent of the font's width.
constexpr int kMinimumStretch = 50;
constexpr std::size_t kMaxPreparedTexts = 8192;

// The backgrounds of a row as they end up after painting its cells in
// turn: runs of one colour over [begin, end) pixels, left to right.
class BackgroundRuns {
 public:
  struct Run {
    int begin;
    int end;
    views::CellBackground background;
  };

  void Paint(int begin, int end, views::CellBackground background) {
    std::array<Run, kMaxRuns> next{};
    std::size_t count = 0;
    bool placed = false;
    for (std::size_t i = 0; i < count_; ++i) {
      const Run& run = runs_[i];
      if (run.end <= begin || run.begin >= end) {
        if (!placed && run.begin >= end) {
          Push(next, count, {begin, end, background});
          placed = true;
        }
        Push(next, count, run);
        continue;
      }
      if (run.begin < begin) Push(next, count, {run.begin, begin, run.background});
      if (!placed) {
        Push(next, count, {begin, end, background});
        placed = true;
      }
      if (run.end > end) Push(next, count, {end, run.end, run.background});
    }
    if (!placed) Push(next, count, {begin, end, background});
    runs_ = next;
    count_ = count;
  }

  std::span<const Run> runs() const { return std::span(runs_).first(count_); }

 private:
  static constexpr std::size_t kMaxRuns = 64;

  // Appends, joining a run of the same colour that it touches.
  static void Push(std::array<Run, kMaxRuns>& runs, std::size_t& count, const Run& run) {
    if (count > 0 && runs[count - 1].end == run.begin &&
        runs[count - 1].background == run.background) {
      runs[count - 1].end = run.end;
    } else if (count < kMaxRuns) {
      runs[count++] = run;
    }
  }

  std::array<Run, kMaxRuns> runs_{};
  std::size_t count_ = 0;
};

}  // namespace

QColor ToQColor(views::Rgb rgb) {
  return QColor(rgb.red, rgb.green, rgb.blue);
}

MonitorGridPainter::MonitorGridPainter(const QFont& font, const views::GridLayout& layout)
    : font_(font),
      rowHeight_(QFontMetrics(font).height() + 1),
      charWidth_(std::max(QFontMetrics(font).averageCharWidth(), 1)),
      ascent_(QFontMetrics(font).ascent()),
      columns_(layout, charWidth_) {}

int MonitorGridPainter::StretchFor(int length, int width) {
  if (length <= width || width <= 0) return 100;
  return std::max(width * 100 / length, kMinimumStretch);
}

const QFont& MonitorGridPainter::FontOf(int stretch) const {
  if (stretch >= 100) return font_;
  const auto index = static_cast<std::size_t>(stretch);
  if (!condensedMade_[index]) {
    condensed_[index] = font_;
    condensed_[index].setStretch(stretch);
    condensedMade_[index] = true;
  }
  return condensed_[index];
}

const QStaticText& MonitorGridPainter::Prepared(std::string_view text, int stretch) const {
  std::string key(1, static_cast<char>(stretch));
  key.append(text);
  auto it = prepared_.find(key);
  if (it != prepared_.end()) return it->second;
  if (prepared_.size() >= kMaxPreparedTexts) prepared_.clear();
  QStaticText prepared(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
  prepared.setTextFormat(Qt::PlainText);
  prepared.prepare(QTransform(), FontOf(stretch));
  return prepared_.emplace(std::move(key), std::move(prepared)).first->second;
}

// `text` (no trailing blanks) in a column `width` characters wide (0: no
// limit), its top at y.
void MonitorGridPainter::DrawText(QPainter& painter, int x, int y, std::string_view text,
                                  int width) const {
  const int stretch = StretchFor(static_cast<int>(text.size()), width);
  if (stretch != painterStretch_) {
    painter.setFont(FontOf(stretch));
    painterStretch_ = stretch;
  }
  painter.drawStaticText(x, y, Prepared(text, stretch));
}

void MonitorGridPainter::PaintHeader(QPainter& painter, int y, int clientWidth) const {
  const QColor background = ToQColor(views::kHeaderBackground);
  painterStretch_ = 0;
  painter.setPen(Qt::black);
  for (int column = 0; column < columns_.count(); ++column) {
    const std::string& title = columns_.title(column);
    const int x = columns_.x(column);
    painter.fillRect(x, y, static_cast<int>(title.size()) * charWidth_ + 1, rowHeight_, background);
    const bool last = column + 1 == columns_.count();
    DrawText(painter, x, y, TrimRight(title), last ? 0 : columns_.width(column));
  }

  const int yLine = y + rowHeight_ - views::HeaderLineInset(columns_.layout());
  painter.setPen(kGreyPen);
  painter.drawLine(0, yLine, clientWidth, yLine);
  for (int column = 1; column < columns_.count(); ++column) {
    const int x = columns_.x(column) - 1;
    painter.drawLine(x, y, x, yLine);
  }
  painter.setPen(kWhite);
  painter.drawLine(0, y, clientWidth, y);
  for (int column = 1; column < columns_.count(); ++column) {
    const int x = columns_.x(column) + 1;
    painter.drawLine(x, y, x, yLine);
  }
  painter.setPen(Qt::black);
  painter.drawLine(0, yLine + 1, clientWidth, yLine + 1);
  for (int column = 1; column < columns_.count(); ++column) {
    const int x = columns_.x(column);
    painter.drawLine(x, y, x, yLine);
  }
}

void MonitorGridPainter::PaintRow(QPainter& painter, int y, const views::RowCells& row) const {
  const std::span<const views::RowCell> cells = row.cells();
  // Where each cell reaches: its text length, plus the pixel between two
  // columns so that a cell as wide as its column joins the next one.
  const auto begin = [&](const views::RowCell& cell) { return columns_.x(cell.column); };
  const auto end = [&](const views::RowCell& cell) {
    return begin(cell) + cell.length * charWidth_ + 1;
  };

  BackgroundRuns backgrounds;
  for (const views::RowCell& cell : cells)
    backgrounds.Paint(begin(cell), end(cell), cell.background);
  for (const BackgroundRuns::Run& run : backgrounds.runs()) {
    painter.fillRect(run.begin, y, run.end - run.begin, rowHeight_,
                     ToQColor(views::ToRgb(run.background)));
  }

  // A text stays within its column (a longer one is drawn narrower), so it
  // is seen unless a later cell covers the column's start.
  painterStretch_ = 0;
  views::CellInk ink = views::CellInk::kBlack;
  painter.setPen(ToQColor(views::ToRgb(ink)));
  const int last = columns_.count() - 1;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const views::RowCell& cell = cells[i];
    const std::string_view shown = TrimRight(row.Text(cell));
    if (shown.empty()) continue;
    const int x = begin(cell);
    const bool covered = std::any_of(
        cells.begin() + static_cast<std::ptrdiff_t>(i) + 1, cells.end(),
        [&](const views::RowCell& later) { return begin(later) <= x && end(later) > x; });
    if (covered) continue;
    if (cell.ink != ink) {
      ink = cell.ink;
      painter.setPen(ToQColor(views::ToRgb(ink)));
    }
    DrawText(painter, x, y, shown, cell.column == last ? 0 : columns_.width(cell.column));
  }
}

}  // namespace orvane::ui
