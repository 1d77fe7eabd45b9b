#include "app/ui/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

// The icon's resource lives in a static library: nothing references its
// registration, so the linker drops it unless it is initialised by name.
static void InitialiseArtworkResources() { Q_INIT_RESOURCE(orvane); }

namespace orvane::ui {

QString DocumentationAddress(const QString& languageCode) {
  return languageCode == QLatin1String("JPN") ? QStringLiteral("/usr/share/doc/orvane (JPN)")
                                              : QStringLiteral("/usr/share/doc/orvane");
}

void PaintBackdrop(QPainter& painter, const QRect& area) {
  painter.save();
  QLinearGradient sky(area.topLeft(), area.bottomLeft());
  sky.setColorAt(0.0, QColor(18, 40, 82));
  sky.setColorAt(1.0, QColor(6, 14, 34));
  painter.fillRect(area, sky);

  // The bus: a recessive line with a break, the sync field and a few bytes.
  painter.setRenderHint(QPainter::Antialiasing);
  QPainterPath bus;
  const int high = area.top() + 120;
  const int low = area.top() + 170;
  int x = area.left() + 20;
  bus.moveTo(x, high);
  const int steps[] = {40, 60, 12, 12, 12, 12, 12, 12, 12, 12, 30, 18, 24, 12, 36, 18, 30, 24, 40};
  bool atHigh = true;
  for (const int step : steps) {
    x += step;
    bus.lineTo(x, atHigh ? high : low);
    atHigh = !atHigh;
    bus.lineTo(x, atHigh ? high : low);
  }
  bus.lineTo(area.right() - 20, atHigh ? high : low);
  painter.setPen(QPen(QColor(241, 196, 15), 3));
  painter.drawPath(bus);

  QFont title = painter.font();
  title.setPointSize(26);
  title.setBold(true);
  painter.setFont(title);
  painter.setPen(Qt::white);
  painter.drawText(QRect(area.left() + 24, area.top() + 24, area.width() - 48, 50),
                   Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Orvane"));
  QFont subtitle = painter.font();
  subtitle.setPointSize(11);
  subtitle.setBold(false);
  painter.setFont(subtitle);
  painter.setPen(QColor(180, 200, 235));
  painter.drawText(QRect(area.left() + 26, area.top() + 72, area.width() - 52, 24),
                   Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("LIN bus analyzer"));
  painter.restore();
}

QIcon ProgramIcon() {
  InitialiseArtworkResources();
  return QIcon(QStringLiteral(":/orvane/orvane.svg"));
}

}  // namespace orvane::ui
