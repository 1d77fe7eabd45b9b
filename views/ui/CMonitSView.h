// The monitor view: the traffic grid of a Monitor, Each ID or
// Capture window. While monitoring runs it shows the newest records at the
// bottom (the tail display, painted into a back buffer every 200 ms and
// copied to the screen at once); while stopped it scrolls over the whole
// ring (the browse display), and a double click in the Time column sets or
// clears the relative time marker.
//
// Only kind 0 (Monitor, over the ViewBuffer) is complete; kinds 1 and 2
// (Each ID over its table, Capture over its capture) come later.
//
// Threads: the user-interface thread. The ring is read without a lock
// through a snapshot taken before every paint and scroll-size computation.
#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QScrollBar>
#include <QTimer>
#include <memory>
#include <optional>

#include "app/ui/ShellView.h"
#include "views/MonitorRowFormat.h"
#include "views/MonitorRows.h"
#include "views/ui/MonitorGridPainter.h"
#include "views/ui/MonitorWindowKind.h"

namespace orvane::ui {

class CMonitSView final : public QAbstractScrollArea, public ShellView {
  Q_OBJECT

 public:
  // `storedMarker` is the kind's application-wide relative time marker: the
  // view starts with it and stores its own into it when destroyed.
  CMonitSView(const ShellServices& services, MonitorWindowKind kind,
              views::RelativeTimeMarker& storedMarker, QWidget* parent = nullptr);
  ~CMonitSView() override;

  // Update codes of the monitor views: 5 start, 6 stopped, 8 size changed.
  void OnViewUpdate(const app::ViewUpdateCodes& codes) override;

  MonitorWindowKind kind() const { return kind_; }
  const MonitorGridPainter& grid() const { return *grid_; }
  int recordRowsPerPage() const { return recordRows_; }
  int scrollPosition() const;
  int scrollMaximum() const;
  const views::RelativeTimeMarker& marker() const { return marker_; }
  // The ring index of the record that the current display shows in record
  // row `row` (1 = the row under the header), if any.
  std::optional<std::uint32_t> RecordIndexAt(int row) const;
  // The lowest record row holding a record (0 when none) and its cells.
  int BottomRow() const;
  views::RowCells CellsAt(int row) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  const monitor::MonitorRing& Ring() const;
  bool Stopped() const;
  void TakeSettings();
  void RefreshSnapshot();
  void SetScrollSizes(int totalHeight);
  void RecreateBackBuffer();
  void OnTimer();
  void PaintTail();
  void PaintBrowse();
  void InitialUpdate();
  views::BrowsePage CurrentBrowsePage() const;

  const app::AppContext& context_;
  const MonitorWindowKind kind_;
  views::RelativeTimeMarker& storedMarker_;
  views::RelativeTimeMarker marker_;
  std::unique_ptr<MonitorGridPainter> grid_;
  views::RowFormat format_;
  std::int32_t foundIndex_ = -1;
  bool initialised_ = false;

  monitor::RingSnapshot snapshot_;
  // The snapshot whose rows the back buffer holds; nothing after a resize,
  // a start or a new back buffer.
  std::optional<monitor::RingSnapshot> drawnSnapshot_;
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  int recordRows_ = 0;
  QImage backBuffer_;
  QTimer timer_;
};

}  // namespace orvane::ui
