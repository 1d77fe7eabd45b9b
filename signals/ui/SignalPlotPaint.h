// Drawing the Signal Plot: a legend on top (a colour per signal, its value
// at the cursor), one horizontal strip per unit below it (physical signals
// sharing a unit share the strip and its axis; each logical signal has a
// strip of its own, drawn as steps with its texts on the axis; signals
// without an encoding share a "raw" strip), and the time axis in seconds at
// the bottom. Each series is reduced to its pixel columns before it is drawn
// (signals::DecimateForColumns, from the series' block extremes), so a
// redraw costs about the columns, not the points in view.
//
// The same painting serves the window, PNG and SVG export.
//
// Threads: the user-interface thread (or any one thread with its own
// painter).
#pragma once

#include <QColor>
#include <QList>
#include <QPointF>
#include <QRect>
#include <QString>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "signals/PlotDecimation.h"
#include "signals/SignalSeries.h"

class QPainter;
class QFontMetrics;

namespace orvane::ui {

struct SignalPlotScene {
  std::span<const signals::SignalSeries> series;
  std::span<const signals::PlotStrip> strips;
  signals::PlotRange range;
  std::optional<std::int64_t> cursor;  // time of the vertical cursor
};

class SignalPlotPainter {
 public:
  void Paint(QPainter& painter, QRect area, const SignalPlotScene& scene);

  // Where the curves go inside `area` for `scene`, as Paint lays it out.
  static QRect PlotArea(const QFontMetrics& metrics, QRect area, const SignalPlotScene& scene);
  static QColor ColourOf(std::size_t series);
  // "<name>: <value text> @ <time> s" for the point at or before `cursor`,
  // "<name>: -" without one.
  static QString Readout(const signals::SignalSeries& series, std::optional<std::int64_t> cursor);
  // Seconds with `decimals` decimals for a time in milliseconds.
  static QString SecondsText(std::int64_t time, int decimals = 3);

 private:
  void DrawStrip(QPainter& painter, QRect plot, QRect strip, const SignalPlotScene& scene,
                 const signals::PlotStrip& content);
  void DrawCurve(QPainter& painter, const std::vector<signals::PlotVertex>& vertices, QRect plot,
                 QRect strip, double low, double high, bool steps);

  // Reused from redraw to redraw: one vertex list per series, one polyline.
  std::vector<std::vector<signals::PlotVertex>> vertices_;
  QList<QPointF> points_;
};

}  // namespace orvane::ui
