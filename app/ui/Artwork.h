// Orvane's own artwork, drawn rather than loaded: the backdrop of the
// splash window and the About box, and the program icon.
#pragma once

#include <QIcon>
#include <QRect>
#include <QString>

class QPainter;

namespace orvane::ui {

inline constexpr int kBackdropWidth = 498;
inline constexpr int kBackdropHeight = 330;

// Where the splash and the About box point for help: the manual that is
// installed with the program.
QString DocumentationAddress(const QString& languageCode);

// A deep blue field with the program's name and a LIN frame drawn as a bus
// waveform; texts go on top of it in white and yellow.
void PaintBackdrop(QPainter& painter, const QRect& area);

QIcon ProgramIcon();

}  // namespace orvane::ui
