#include "app/ui/CSplashWnd.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QScreen>

#include "app/ui/Artwork.h"

namespace orvane::ui {

CSplashWnd::CSplashWnd(const analyzer::AnalyzerIdentity& identity, QString languageCode)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      identity_(identity),
      languageCode_(std::move(languageCode)) {
  setFixedSize(kBackdropWidth, kBackdropHeight);
  setCursor(Qt::ArrowCursor);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->geometry().center() - rect().center());
  }
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &CSplashWnd::Dismiss);
  timer_.start(kSplashTimeoutMs);
  qApp->installEventFilter(this);
}

CSplashWnd::~CSplashWnd() {
  qApp->removeEventFilter(this);
}

void CSplashWnd::OnHidden(std::function<void()> step) {
  if (!showing_) {
    step();
    return;
  }
  afterHide_ = std::move(step);
}

void CSplashWnd::Dismiss() {
  if (!showing_) return;
  showing_ = false;
  timer_.stop();
  qApp->removeEventFilter(this);
  hide();
  if (auto step = std::exchange(afterHide_, nullptr)) step();
}

bool CSplashWnd::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
      // The hide runs after this event is swallowed, not inside its delivery.
      QMetaObject::invokeMethod(this, &CSplashWnd::Dismiss, Qt::QueuedConnection);
      return true;
    default:
      return QWidget::eventFilter(watched, event);
  }
}

void CSplashWnd::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintBackdrop(painter, rect());
  painter.setPen(Qt::white);
  painter.drawText(60, 250, QStringLiteral("Initializing..."));
  painter.drawText(30, 266,
                   QStringLiteral("Boot Program ") + QString::fromLatin1(identity_.bootVersion));
  painter.drawText(
      30, 282, QStringLiteral("Farmware     ") + QString::fromLatin1(identity_.firmwareVersion));
  painter.drawText(30, 298,
                   QStringLiteral("Serial No.   ") + QString::fromLatin1(identity_.serialNumber));
  QFont large = painter.font();
  large.setPixelSize(16);
  painter.setFont(large);
  painter.setPen(Qt::yellow);
  painter.drawText(220, 282, DocumentationAddress(languageCode_));
}

}  // namespace orvane::ui
