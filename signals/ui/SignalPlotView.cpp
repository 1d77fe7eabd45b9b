#include "signals/ui/SignalPlotView.h"

#include <QContextMenuEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QSvgGenerator>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "app/LogCommands.h"
#include "app/WindowCommands.h"
#include "app/ui/QtText.h"

namespace orvane::ui {
namespace {

constexpr double kWheelZoom = 0.8;  // per wheel notch
constexpr double kKeyPan = 0.1;     // of the span, per key press
constexpr int kClickSlack = 3;      // pixels a click may move and stay a click

}  // namespace

SignalPlotView::SignalPlotView(const app::AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context), sources_(SignalSourcesOf(context)) {
  setObjectName(QStringLiteral("signalPlot"));
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(320, 200);
  refreshTimer_.setSingleShot(true);
  connect(&refreshTimer_, &QTimer::timeout, this, &SignalPlotView::OnRefreshTimer);
  SetUp();
}

void SignalPlotView::SetUp() {
  description_ = sources_.description.Description();
  rows_.clear();
  if (description_ != nullptr) {
    rows_ = signals::BuildSignalRows(*description_, SortOrderOf(sources_.settings),
                                     SelectionOf(sources_.settings));
  }
  static const signals::LinDescription kNone;
  series_ = std::make_unique<signals::SignalSeriesSet>(
      description_ != nullptr ? *description_ : kNone, rows_);
  strips_ = signals::PlotStrips(series_->series());
  feed_.Restart();
  setWindowTitle(SignalWindowCaption(app::Window::kSignalPlot, sources_.settings));
  OnRefreshTimer();
}

void SignalPlotView::OnRefreshTimer() {
  const signals::LinDescription* description = sources_.description.Description();
  std::vector<signals::SignalRow> selected;
  if (description != nullptr) {
    selected = signals::BuildSignalRows(*description, SortOrderOf(sources_.settings),
                                        SelectionOf(sources_.settings));
  }
  if (description != description_ || selected != rows_) {
    SetUp();
    return;
  }
  const bool running = sources_.state.AcquisitionRunning != 0;
  const std::uint64_t framesBefore = series_->FramesAppended();
  const bool restarted = feed_.Update(context_.monitor.ViewBuffer, *series_);
  const bool changed = restarted || series_->FramesAppended() != framesBefore;
  if (running) {
    if (!wasRunning_) following_ = true;
    if (following_) FollowNewest();
  } else if (restarted || wasRunning_) {
    ShowAll();
  }
  // A repaint only for new data or a new state.
  if (changed || running != wasRunning_) update();
  wasRunning_ = running;
  refreshTimer_.start(kRefreshPeriod);
}

void SignalPlotView::OnViewUpdate(const app::ViewUpdateCodes& codes) {
  if (codes.Monitor == app::kUpdateTablesChanged ||
      codes.Monitor == app::kUpdateMonitoringStarted) {
    feed_.Restart();
  }
  if (codes.Monitor != app::kUpdateNone) OnRefreshTimer();
}

void SignalPlotView::OnResetCaptureAndFind() {
  feed_.Restart();
  cursor_.reset();
  cursorPinned_ = false;
}

void SignalPlotView::ShowAll() {
  if (!series_->HasTime()) return;
  const std::int64_t earliest = series_->EarliestTime();
  range_ = {earliest, std::max(series_->LatestTime() + 1, earliest + kMinimumSpanMs)};
  following_ = false;
}

void SignalPlotView::FollowNewest() {
  const std::int64_t span = range_.end - range_.begin;
  const std::int64_t end = series_->LatestTime() + 1;
  range_ = {end - span, end};
  following_ = true;
}

void SignalPlotView::Zoom(double factor, std::int64_t anchor) {
  const double span = static_cast<double>(range_.end - range_.begin);
  const auto newSpan = std::max<std::int64_t>(kMinimumSpanMs, std::llround(span * factor));
  const double share = static_cast<double>(anchor - range_.begin) / span;
  const std::int64_t begin = anchor - std::llround(share * static_cast<double>(newSpan));
  range_ = {begin, begin + newSpan};
  if (following_) FollowNewest();
  update();
}

void SignalPlotView::Pan(std::int64_t by) {
  range_ = {range_.begin + by, range_.end + by};
  following_ = false;
  update();
}

void SignalPlotView::SetCursor(std::optional<std::int64_t> time) {
  cursor_ = time;
  update();
}

QString SignalPlotView::Readout(std::size_t index) const {
  return SignalPlotPainter::Readout(series_->series().at(index), cursor_);
}

SignalPlotScene SignalPlotView::Scene() const {
  return SignalPlotScene{series_->series(), strips_, range_, cursor_};
}

QRect SignalPlotView::PlotArea() const {
  return SignalPlotPainter::PlotArea(fontMetrics(), rect(), Scene());
}

std::int64_t SignalPlotView::TimeAt(int x) const {
  const QRect plot = PlotArea();
  const double share = static_cast<double>(x - plot.left()) / std::max(1, plot.width());
  return range_.begin + std::llround(share * static_cast<double>(range_.end - range_.begin));
}

void SignalPlotView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter_.Paint(painter, rect(), Scene());
}

void SignalPlotView::wheelEvent(QWheelEvent* event) {
  const int notches = event->angleDelta().y() / 120;
  if (notches == 0) return;
  Zoom(std::pow(kWheelZoom, notches), TimeAt(static_cast<int>(event->position().x())));
  event->accept();
}

void SignalPlotView::keyPressEvent(QKeyEvent* event) {
  const std::int64_t span = range_.end - range_.begin;
  const std::int64_t anchor = cursor_.value_or(range_.begin + span / 2);
  switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      Zoom(kWheelZoom, anchor);
      break;
    case Qt::Key_Minus:
      Zoom(1 / kWheelZoom, anchor);
      break;
    case Qt::Key_Left:
      Pan(-std::max<std::int64_t>(1, std::llround(static_cast<double>(span) * kKeyPan)));
      break;
    case Qt::Key_Right:
      Pan(std::max<std::int64_t>(1, std::llround(static_cast<double>(span) * kKeyPan)));
      break;
    case Qt::Key_Home:
      Pan(series_->EarliestTime() - range_.begin);
      break;
    case Qt::Key_End:
      if (sources_.state.AcquisitionRunning != 0) {
        FollowNewest();
      } else {
        Pan(series_->LatestTime() + 1 - range_.end);
      }
      update();
      break;
    case Qt::Key_Escape:
      cursorPinned_ = false;
      break;
    default:
      QWidget::keyPressEvent(event);
  }
}

void SignalPlotView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  dragX_ = static_cast<int>(event->position().x());
  dragRange_ = range_;
}

void SignalPlotView::mouseMoveEvent(QMouseEvent* event) {
  const int x = static_cast<int>(event->position().x());
  if (dragX_ && (event->buttons() & Qt::LeftButton) && std::abs(x - *dragX_) > kClickSlack) {
    const std::int64_t moved = TimeAt(*dragX_) - TimeAt(x);
    range_ = {dragRange_.begin + moved, dragRange_.end + moved};
    following_ = false;
    update();
    return;
  }
  if (!cursorPinned_ && PlotArea().contains(event->position().toPoint())) SetCursor(TimeAt(x));
}

void SignalPlotView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !dragX_) return QWidget::mouseReleaseEvent(event);
  const int x = static_cast<int>(event->position().x());
  if (std::abs(x - *dragX_) <= kClickSlack) {
    cursorPinned_ = true;
    SetCursor(TimeAt(x));
  }
  dragX_.reset();
}

void SignalPlotView::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction(QStringLiteral("Export PNG..."), this, &SignalPlotView::ChooseAndExportPng);
  menu.addAction(QStringLiteral("Export SVG..."), this, &SignalPlotView::ChooseAndExportSvg);
  menu.addSeparator();
  menu.addAction(QStringLiteral("Show All"), this, [this] {
    ShowAll();
    update();
  });
  menu.exec(event->globalPos());
}

bool SignalPlotView::ExportPng(const std::string& path) {
  QImage image(size(), QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setFont(font());
  painter_.Paint(painter, image.rect(), Scene());
  painter.end();
  return image.save(QString::fromStdString(path), "PNG");
}

bool SignalPlotView::ExportSvg(const std::string& path) {
  QSvgGenerator generator;
  generator.setFileName(QString::fromStdString(path));
  generator.setSize(size());
  generator.setViewBox(rect());
  generator.setTitle(windowTitle());
  QPainter painter;
  if (!painter.begin(&generator)) return false;
  painter.setFont(font());
  painter_.Paint(painter, rect(), Scene());
  return painter.end();
}

void SignalPlotView::ChooseAndExportPng() {
  app::SaveThroughDialog(context_,
                         {.save = true,
                          .initialName = "signals.png",
                          .defaultExtension = "png",
                          .filter = "PNG Image(*.png)|*.png|All(*.*)|*.*||",
                          .title = "Export Signal Plot as PNG"},
                         [this](const std::string& path) { return ExportPng(path); });
}

void SignalPlotView::ChooseAndExportSvg() {
  app::SaveThroughDialog(context_,
                         {.save = true,
                          .initialName = "signals.svg",
                          .defaultExtension = "svg",
                          .filter = "SVG Image(*.svg)|*.svg|All(*.*)|*.*||",
                          .title = "Export Signal Plot as SVG"},
                         [this](const std::string& path) { return ExportSvg(path); });
}

}  // namespace orvane::ui
