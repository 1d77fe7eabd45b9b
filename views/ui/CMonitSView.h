// The monitor view: the traffic grid of a Monitor, Each ID or Capture
// window, by its kind.
//
// - Monitor (kind 0, over the ViewBuffer): while monitoring runs it shows
//   the newest records at the bottom (the tail display, painted into a back
//   buffer every 200 ms and copied to the screen at once); while stopped it
//   scrolls over the whole ring (the browse display), where a double click
//   in the Time column sets or clears the relative time marker and the
//   Find window's hits are highlighted.
// - Each ID (kind 1, over the EachIdTable): one row per slot seen, in slot
//   order, scrolled by whole rows; redrawn every 200 ms while monitoring
//   runs.
// - Capture (kind 2, over the CaptureBuffer): always the browse display of
//   the records frozen by the last Capture command, with the marker.
//
// Threads: the user-interface thread. Rings and tables are read without a
// lock through a snapshot taken before every paint and scroll-size
// computation.
#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QScrollBar>
#include <QTimer>
#include <memory>
#include <optional>
#include <span>

#include "app/ui/ShellView.h"
#include "views/MonitorFind.h"
#include "views/MonitorRowFormat.h"
#include "views/MonitorRows.h"
#include "views/ui/MonitorGridPainter.h"
#include "views/ui/MonitorWindowKind.h"

namespace orvane::ui {

class CMonitSView final : public QAbstractScrollArea, public ShellView {
  Q_OBJECT

 public:
  // A Monitor or Capture view. `storedMarker` is the kind's
  // application-wide relative time marker: the view starts with it and
  // stores its own into it when destroyed.
  CMonitSView(const ShellServices& services, MonitorWindowKind kind,
              views::RelativeTimeMarker& storedMarker, QWidget* parent = nullptr);
  // An Each ID view, which has no relative time marker.
  explicit CMonitSView(const ShellServices& services, QWidget* parent = nullptr);
  ~CMonitSView() override;

  // Update codes of the monitor views: 5 start, 6 stopped, 8 size changed,
  // 11 take a capture (kind 2), 12 find first and 13 find next (kind 0),
  // 14 tables rebuilt (kind 1).
  void OnViewUpdate(const app::ViewUpdateCodes& codes) override;
  // A start: the find forgets its hit.
  void OnResetCaptureAndFind() override;

  // Kind 0, stopped: highlights the record of `hit` and scrolls so that it
  // is in the top row, as far as the scroll range allows.
  void ShowFoundRecord(const views::FindHit& hit);

  MonitorWindowKind kind() const { return kind_; }
  const MonitorGridPainter& grid() const { return *grid_; }
  int recordRowsPerPage() const { return recordRows_; }
  int scrollPosition() const;
  int scrollMaximum() const;
  const views::RelativeTimeMarker& marker() const { return marker_; }
  // Ring index of the highlighted hit, -1 none.
  std::int32_t foundIndex() const { return foundIndex_; }
  // The buffer index of the record that the current display shows in
  // record row `row` (1 = the row under the header), if any: its ring index
  // (kind 0), EachIdTable slot (kind 1) or capture index (kind 2).
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
  CMonitSView(const ShellServices& services, MonitorWindowKind kind,
              views::RelativeTimeMarker* storedMarker, QWidget* parent);

  const monitor::MonitorRing& Ring() const;
  // The records shown by kinds 0 and 2: the ViewBuffer or the capture's kept
  // records (kind 1 shows the records of its EachIdPage).
  std::span<const monitor::MonitorRecord> Records() const;
  // Kinds 0 and 2: the records that exist, as a ring snapshot (a capture
  // is a ring that never wrapped).
  monitor::RingSnapshot Snapshot() const;
  bool Stopped() const;
  // Records (kind 1: rows) the scroll range covers.
  int TotalRows() const;
  void TakeSettings();
  void RefreshSnapshot();
  void SetScrollSizes(int totalHeight);
  void RecreateBackBuffer();
  void OnTimer();
  void OnStart();
  void TakeCaptureNow();
  void Find(bool first);
  void PaintTail();
  void PaintBrowse();
  void PaintEachId();
  void InitialUpdate();
  int FirstEachIdRow() const;
  views::BrowsePage CurrentBrowsePage() const;

  const app::AppContext& context_;
  const MonitorWindowKind kind_;
  views::RelativeTimeMarker* storedMarker_;  // null for kind 1
  views::RelativeTimeMarker marker_;
  std::unique_ptr<MonitorGridPainter> grid_;
  views::RowFormat format_;
  views::MonitorFind find_;
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
