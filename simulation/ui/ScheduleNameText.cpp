#include "simulation/ui/ScheduleNameText.h"

#include "simulation/ShortName.h"

namespace orvane::ui {

QString ShortScheduleName(std::string_view name, int maxWidth, const QFontMetrics& metrics) {
  const std::string shortened =
      simulation::ShortenName(name, maxWidth, [&metrics](std::string_view text) {
        return metrics.horizontalAdvance(
            QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
      });
  return QString::fromStdString(shortened);
}

}  // namespace orvane::ui
