// The Signal Plot window's view: the values of the signals selected in the
// Signal select window over time, drawn by SignalPlotPainter.
//
// Data: the ViewBuffer through views::RingSeriesFeed, every 200 ms (the
// views' pace) only the records written since the last tick. While
// monitoring runs the visible range follows the newest time; when it stops,
// and for a reviewed log, the view shows the whole buffer.
//
// Interaction: mouse wheel zooms the time axis around the mouse, + and -
// around the cursor; dragging, Left and Right pan (and stop following the
// newest time), Home shows the start and End the newest time (following it
// again while monitoring). The vertical cursor follows the mouse and stays
// where it was clicked; the legend shows each signal's value there. The
// context menu exports the view as PNG or SVG.
//
// Threads: the user-interface thread. The ring is read without a lock while
// the acquisition thread writes it.
#pragma once

#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/AppContext.h"
#include "app/ui/ShellView.h"
#include "signals/SignalSeries.h"
#include "signals/ui/SignalPlotPaint.h"
#include "signals/ui/SignalSources.h"
#include "views/RingSeriesFeed.h"

namespace orvane::ui {

class SignalPlotView final : public QWidget, public ShellView {
  Q_OBJECT

 public:
  static constexpr std::chrono::milliseconds kRefreshPeriod{200};
  static constexpr std::int64_t kLiveSpanMs = 10000;
  static constexpr std::int64_t kMinimumSpanMs = 10;

  explicit SignalPlotView(const app::AppContext& context, QWidget* parent = nullptr);

  // Takes the description and the selection again and reads the ring from
  // its oldest record.
  void SetUp();
  // The 200 ms timer's work: new records, the range, a repaint.
  void OnRefreshTimer();

  void OnSignalWindowsRefresh() override { SetUp(); }
  void OnViewUpdate(const app::ViewUpdateCodes& codes) override;
  void OnResetCaptureAndFind() override;

  // Exports the view as drawn, at its size. Whether the file was written.
  bool ExportPng(const std::string& path);
  bool ExportSvg(const std::string& path);
  // The save dialog, then the export; message 105 when it fails.
  void ChooseAndExportPng();
  void ChooseAndExportSvg();

  const signals::SignalSeriesSet* series() const { return series_.get(); }
  signals::PlotRange range() const { return range_; }
  bool following() const { return following_; }
  std::optional<std::int64_t> cursor() const { return cursor_; }
  void SetCursor(std::optional<std::int64_t> time);
  // The legend's text for series `index`.
  QString Readout(std::size_t index) const;
  // The time under x (widget coordinates).
  std::int64_t TimeAt(int x) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  SignalPlotScene Scene() const;
  QRect PlotArea() const;
  void ShowAll();
  void FollowNewest();
  // Zooms by `factor` (below 1 zooms in) keeping `anchor` at its place.
  void Zoom(double factor, std::int64_t anchor);
  void Pan(std::int64_t by);

  const app::AppContext& context_;
  SignalSources sources_;
  const signals::LinDescription* description_ = nullptr;
  std::vector<signals::SignalRow> rows_;
  std::unique_ptr<signals::SignalSeriesSet> series_;
  std::vector<signals::PlotStrip> strips_;
  views::RingSeriesFeed feed_;
  SignalPlotPainter painter_;

  signals::PlotRange range_{0, kLiveSpanMs};
  bool following_ = true;
  bool wasRunning_ = false;
  std::optional<std::int64_t> cursor_;
  bool cursorPinned_ = false;
  std::optional<int> dragX_;
  signals::PlotRange dragRange_;
  QTimer refreshTimer_;
};

}  // namespace orvane::ui
