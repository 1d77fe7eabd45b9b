// A schedule name cut to a width in pixels of a font, as the schedule list
// of the master setup (65 pixels) and the schedule buttons of the master
// monitor (85 pixels) show it (see ShortenName).
//
// Threads: the user-interface thread only.
#pragma once

#include <QFontMetrics>
#include <QString>
#include <string_view>

namespace orvane::ui {

QString ShortScheduleName(std::string_view name, int maxWidth, const QFontMetrics& metrics);

}  // namespace orvane::ui
