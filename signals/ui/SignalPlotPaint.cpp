#include "signals/ui/SignalPlotPaint.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "app/ui/QtText.h"

namespace orvane::ui {
namespace {

constexpr int kAxisWidth = 72;
constexpr int kRightMargin = 10;
constexpr int kLegendCellWidth = 300;
constexpr int kStripGap = 6;
constexpr int kSwatch = 10;
constexpr int kTimeTickSpacing = 110;  // pixels between time labels, about
constexpr int kValueTickSpacing = 28;

int LegendColumns(QRect area) {
  return std::max(1, (area.width() - kAxisWidth) / kLegendCellWidth);
}

int LineHeight(const QFontMetrics& metrics) {
  return metrics.height() + 2;
}

// 1, 2 or 5 times a power of ten, at least `raw`.
double NiceStep(double raw) {
  if (!(raw > 0)) return 1;
  const double base = std::pow(10.0, std::floor(std::log10(raw)));
  const double factor = raw / base;
  return (factor <= 1 ? 1 : factor <= 2 ? 2 : factor <= 5 ? 5 : 10) * base;
}

int DecimalsFor(std::int64_t stepMs) {
  return stepMs >= 1000 ? 0 : stepMs >= 100 ? 1 : stepMs >= 10 ? 2 : 3;
}

// The value range a strip shows: its curves' points, and for a logical
// signal every logical value of its encoding.
std::pair<double, double> StripBounds(std::span<const std::vector<signals::PlotVertex>> vertices,
                                      const signals::PlotStrip& strip,
                                      std::span<const signals::SignalSeries> series) {
  double low = std::numeric_limits<double>::infinity();
  double high = -low;
  for (const std::size_t index : strip.series) {
    for (const signals::PlotVertex& vertex : vertices[index]) {
      low = std::min(low, vertex.value);
      high = std::max(high, vertex.value);
    }
  }
  const bool logical = strip.kind == signals::SeriesKind::kLogical;
  if (logical) {
    for (const signals::ValueEntry& entry : series[strip.series.front()].encoding->values) {
      if (entry.kind != signals::ValueKind::kLogical) continue;
      low = std::min(low, static_cast<double>(entry.minimum));
      high = std::max(high, static_cast<double>(entry.minimum));
    }
  }
  if (low > high) return {0, 1};
  if (high - low < 1e-12) return {low - 1, high + 1};
  const double pad = logical ? 0.5 : (high - low) * 0.05;
  return {low - pad, high + pad};
}

double YOf(double value, QRect strip, double low, double high) {
  return strip.bottom() - (value - low) / (high - low) * strip.height();
}

// A vertex far outside the plot moved onto the line (or step) it starts or
// ends, at `edge`: painting engines lose precision on huge coordinates.
signals::PlotVertex ClipTo(const signals::PlotVertex& outside, const signals::PlotVertex& inside,
                           double edge, bool steps) {
  if (steps) {
    // A step holds the earlier value: the left neighbour's, or the inside
    // one's towards the right.
    return {edge, outside.x < inside.x ? outside.value : inside.value};
  }
  const double share = (edge - outside.x) / (inside.x - outside.x);
  return {edge, outside.value + (inside.value - outside.value) * share};
}

}  // namespace

QColor SignalPlotPainter::ColourOf(std::size_t series) {
  static constexpr std::array<QRgb, 10> kPalette{0x1f77b4, 0xd62728, 0x2ca02c, 0xff7f0e, 0x9467bd,
                                                 0x8c564b, 0xe377c2, 0x17becf, 0xbcbd22, 0x7f7f7f};
  return QColor::fromRgb(kPalette[series % kPalette.size()]);
}

QString SignalPlotPainter::SecondsText(std::int64_t time, int decimals) {
  return QString::number(static_cast<double>(time) / 1000.0, 'f', decimals);
}

QString SignalPlotPainter::Readout(const signals::SignalSeries& series,
                                   std::optional<std::int64_t> cursor) {
  const QString name = QtText(series.name);
  const std::size_t index = cursor ? series.PointAtOrBefore(*cursor) : series.size();
  if (index >= series.size()) return name + QStringLiteral(": -");
  return name + QStringLiteral(": ") + QtText(series.ValueText(index)) + QStringLiteral(" @ ") +
         SecondsText(series.times[index]) + QStringLiteral(" s");
}

QRect SignalPlotPainter::PlotArea(const QFontMetrics& metrics, QRect area,
                                  const SignalPlotScene& scene) {
  const int columns = LegendColumns(area);
  const int lines = (static_cast<int>(scene.series.size()) + columns - 1) / columns;
  const int line = LineHeight(metrics);
  const int top = area.top() + lines * line + 4;
  const int bottom = area.bottom() - line - 6;
  return QRect(QPoint(area.left() + kAxisWidth, top), QPoint(area.right() - kRightMargin, bottom));
}

void SignalPlotPainter::Paint(QPainter& painter, QRect area, const SignalPlotScene& scene) {
  painter.fillRect(area, Qt::white);
  const QFontMetrics metrics = painter.fontMetrics();
  const QRect plot = PlotArea(metrics, area, scene);
  const int line = LineHeight(metrics);

  // Legend: one cell per series, value at the cursor.
  const int columns = LegendColumns(area);
  for (std::size_t index = 0; index < scene.series.size(); ++index) {
    const int x = plot.left() + static_cast<int>(index % columns) * kLegendCellWidth;
    const int y = area.top() + 2 + static_cast<int>(index / columns) * line;
    painter.fillRect(QRect(x, y + (line - kSwatch) / 2, kSwatch, kSwatch), ColourOf(index));
    painter.setPen(Qt::black);
    const QString text = metrics.elidedText(Readout(scene.series[index], scene.cursor),
                                            Qt::ElideRight, kLegendCellWidth - kSwatch - 12);
    painter.drawText(QRect(x + kSwatch + 4, y, kLegendCellWidth - kSwatch - 8, line),
                     Qt::AlignLeft | Qt::AlignVCenter, text);
  }
  if (plot.width() <= 0 || plot.height() <= 0 || scene.range.end <= scene.range.begin) return;

  // Time axis and grid.
  const std::int64_t span = scene.range.end - scene.range.begin;
  const auto step = std::max<std::int64_t>(
      1, static_cast<std::int64_t>(
             NiceStep(static_cast<double>(span) * kTimeTickSpacing / std::max(1, plot.width()))));
  const int decimals = DecimalsFor(step);
  std::int64_t tick = scene.range.begin / step * step;
  if (tick < scene.range.begin) tick += step;
  for (; tick < scene.range.end; tick += step) {
    const int x = plot.left() + static_cast<int>(signals::PlotX(tick, scene.range, plot.width()));
    painter.setPen(QColor(230, 230, 230));
    painter.drawLine(x, plot.top(), x, plot.bottom());
    painter.setPen(Qt::black);
    painter.drawText(QRect(x - kTimeTickSpacing / 2, plot.bottom() + 3, kTimeTickSpacing, line),
                     Qt::AlignHCenter | Qt::AlignTop, SecondsText(tick, decimals));
  }
  painter.drawText(QRect(area.left(), plot.bottom() + 3, kAxisWidth - 6, line),
                   Qt::AlignRight | Qt::AlignTop, QStringLiteral("time (s)"));

  // Strips, stacked.
  vertices_.resize(scene.series.size());
  const int strips = static_cast<int>(scene.strips.size());
  if (strips > 0) {
    const int height = std::max(1, (plot.height() - kStripGap * (strips - 1)) / strips);
    for (int n = 0; n < strips; ++n) {
      const QRect strip(plot.left(), plot.top() + n * (height + kStripGap), plot.width(), height);
      DrawStrip(painter, plot, strip, scene, scene.strips[static_cast<std::size_t>(n)]);
    }
  }

  // Cursor and its time.
  if (scene.cursor && *scene.cursor >= scene.range.begin && *scene.cursor < scene.range.end) {
    const int x =
        plot.left() + static_cast<int>(signals::PlotX(*scene.cursor, scene.range, plot.width()));
    painter.setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
    painter.drawLine(x, plot.top(), x, plot.bottom());
    const QString time = SecondsText(*scene.cursor);
    const QRect box(x - metrics.horizontalAdvance(time) / 2 - 3, plot.bottom() + 2,
                    metrics.horizontalAdvance(time) + 6, line);
    painter.fillRect(box, QColor(255, 255, 210));
    painter.setPen(Qt::black);
    painter.drawRect(box);
    painter.drawText(box, Qt::AlignCenter, time);
  }
}

void SignalPlotPainter::DrawStrip(QPainter& painter, QRect plot, QRect strip,
                                  const SignalPlotScene& scene, const signals::PlotStrip& content) {
  for (const std::size_t index : content.series) {
    std::vector<signals::PlotVertex>& vertices = vertices_[index];
    vertices.reserve(signals::MaxDecimatedVertices(plot.width()));
    const signals::SignalSeries& series = scene.series[index];
    signals::DecimateForColumns(series.times, series.values, series.extremes, scene.range,
                                plot.width(), vertices);
  }
  const bool logical = content.kind == signals::SeriesKind::kLogical;
  const auto [low, high] = StripBounds(vertices_, content, scene.series);

  painter.setPen(QColor(190, 190, 190));
  painter.drawRect(strip);
  const QFontMetrics metrics = painter.fontMetrics();
  const int textHeight = metrics.height();
  painter.setPen(Qt::black);
  const auto label = [&](double value, const QString& text) {
    const int y = static_cast<int>(YOf(value, strip, low, high));
    painter.drawLine(strip.left() - 4, y, strip.left(), y);
    painter.drawText(
        QRect(plot.left() - kAxisWidth, y - textHeight / 2, kAxisWidth - 6, textHeight),
        Qt::AlignRight | Qt::AlignVCenter,
        metrics.elidedText(text, Qt::ElideRight, kAxisWidth - 8));
  };
  if (logical) {
    const signals::SignalSeries& series = scene.series[content.series.front()];
    int lastY = std::numeric_limits<int>::max();
    for (const signals::ValueEntry& entry : series.encoding->values) {
      if (entry.kind != signals::ValueKind::kLogical) continue;
      const double value = static_cast<double>(entry.minimum);
      const int y = static_cast<int>(YOf(value, strip, low, high));
      if (std::abs(y - lastY) < textHeight) continue;  // no room: every other text
      label(value, QtText(entry.text));
      lastY = y;
    }
  } else {
    // At least three divisions, so that even a low strip shows its scale.
    const double step = NiceStep((high - low) / std::max(3, strip.height() / kValueTickSpacing));
    int lastY = std::numeric_limits<int>::max();
    for (double value = std::ceil(low / step) * step; value <= high; value += step) {
      const int y = static_cast<int>(YOf(value, strip, low, high));
      if (std::abs(y - lastY) < textHeight) continue;
      label(value, QString::number(std::abs(value) < step / 2 ? 0.0 : value, 'g', 6));
      lastY = y;
    }
  }
  painter.setPen(Qt::darkGray);
  painter.drawText(strip.adjusted(4, 2, -4, -2), Qt::AlignLeft | Qt::AlignTop,
                   QtText(content.label));

  painter.save();
  painter.setClipRect(strip.adjusted(0, -1, 1, 1));
  painter.setRenderHint(QPainter::Antialiasing, false);
  for (const std::size_t index : content.series) {
    painter.setPen(QPen(ColourOf(index), 1));
    DrawCurve(painter, vertices_[index], plot, strip, low, high, logical);
  }
  painter.restore();
}

void SignalPlotPainter::DrawCurve(QPainter& painter,
                                  const std::vector<signals::PlotVertex>& vertices, QRect plot,
                                  QRect strip, double low, double high, bool steps) {
  if (vertices.empty()) return;
  const double left = -1;
  const double right = plot.width() + 1;
  points_.clear();
  const auto add = [&](signals::PlotVertex vertex) {
    const double y = YOf(vertex.value, strip, low, high);
    if (steps && !points_.isEmpty())
      points_.append(QPointF(plot.left() + vertex.x, points_.back().y()));
    points_.append(QPointF(plot.left() + vertex.x, y));
  };
  const std::size_t count = vertices.size();
  for (std::size_t n = 0; n < count; ++n) {
    signals::PlotVertex vertex = vertices[n];
    if (vertex.x < left && n + 1 < count) vertex = ClipTo(vertex, vertices[n + 1], left, steps);
    if (vertex.x > right && n > 0) vertex = ClipTo(vertex, vertices[n - 1], right, steps);
    vertex.x = std::clamp(vertex.x, left, right);
    add(vertex);
  }
  if (points_.size() == 1) {
    painter.drawPoint(points_.front());
    return;
  }
  painter.drawPolyline(points_.constData(), static_cast<int>(points_.size()));
}

}  // namespace orvane::ui
