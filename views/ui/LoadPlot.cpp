#include "views/ui/LoadPlot.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace orvane::ui {
namespace {

constexpr int kHeight = 110;
constexpr int kMargin = 6;
constexpr double kLeastScale = 10.0;

}  // namespace

LoadPlot::LoadPlot(QWidget* parent) : QWidget(parent) {
  setMinimumHeight(kHeight);
  setMaximumHeight(kHeight);
}

void LoadPlot::SetLoad(std::map<std::int64_t, double> percentBySecond) {
  load_ = std::move(percentBySecond);
  update();
}

void LoadPlot::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  const QFontMetrics metrics(font());
  const QString title = QStringLiteral("Bus load [%] per second");
  painter.drawText(kMargin, kMargin + metrics.ascent(), title);

  double peak = kLeastScale;
  for (const auto& [second, percent] : load_) peak = std::max(peak, percent);
  const double scale = std::ceil(peak / kLeastScale) * kLeastScale;
  const QString top = QString::number(scale, 'f', 0) + QStringLiteral(" %");
  const int left = kMargin + metrics.horizontalAdvance(top) + kMargin;
  const QRect area(left, kMargin + metrics.height() + 2, width() - left - kMargin,
                   height() - 2 * kMargin - 2 * metrics.height() - 2);
  if (area.width() <= 0 || area.height() <= 0) return;
  painter.drawText(kMargin, area.top() + metrics.ascent(), top);
  painter.drawText(kMargin, area.bottom(), QStringLiteral("0 %"));
  painter.setPen(Qt::gray);
  painter.drawRect(area);
  if (load_.empty()) return;

  const std::int64_t first = load_.begin()->first;
  const std::int64_t seconds = load_.rbegin()->first - first + 1;
  const double secondWidth = static_cast<double>(area.width()) / static_cast<double>(seconds);
  const int barWidth = std::max(1, static_cast<int>(secondWidth) - 1);
  for (const auto& [second, percent] : load_) {
    const int x = area.left() + static_cast<int>(static_cast<double>(second - first) * secondWidth);
    const int bar = static_cast<int>(std::lround(std::min(percent, scale) / scale * area.height()));
    painter.fillRect(x, area.bottom() - bar, barWidth, bar, QColor(0, 0, 160));
  }
  painter.setPen(Qt::black);
  painter.drawText(area.left(), height() - kMargin,
                   QStringLiteral("%1 s").arg(static_cast<qlonglong>(seconds)));
}

}  // namespace orvane::ui
