#include "views/ui/CMonitSView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "views/ui/MonitorPagePaint.h"

namespace orvane::ui {
namespace {

constexpr int kRepaintMs = 200;
// The scroll height while monitoring runs.
constexpr int kRunningTotalHeight = 100;

bool SameSnapshot(const monitor::RingSnapshot& a, const monitor::RingSnapshot& b) {
  return a.writeIndex == b.writeIndex && a.wrapped == b.wrapped;
}

}  // namespace

CMonitSView::CMonitSView(const ShellServices& services, MonitorWindowKind kind,
                         views::RelativeTimeMarker& storedMarker, QWidget* parent)
    : QAbstractScrollArea(parent),
      context_(services.context),
      kind_(kind),
      storedMarker_(storedMarker),
      marker_(storedMarker) {
  const app::AppState& state = context_.state;
  grid_ = std::make_unique<MonitorGridPainter>(
      services.gridFont, views::GridLayout::Of(state.LanguageCode, state.IdentifierFieldMode));
  TakeSettings();
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  verticalScrollBar()->setRange(0, 0);
  connect(&timer_, &QTimer::timeout, this, &CMonitSView::OnTimer);
  timer_.start(kRepaintMs);
  OnTimer();
}

CMonitSView::~CMonitSView() {
  storedMarker_ = marker_;
}

const monitor::MonitorRing& CMonitSView::Ring() const {
  return context_.monitor.ViewBuffer;
}

bool CMonitSView::Stopped() const {
  return context_.state.MonitorStopped != 0;
}

int CMonitSView::scrollPosition() const {
  return verticalScrollBar()->value();
}

int CMonitSView::scrollMaximum() const {
  return verticalScrollBar()->maximum();
}

// The copies a view keeps of the settings: data lengths, special frames and
// I/O names, taken at construction and at every start; the header layout
// stays the one the view was made with.
void CMonitSView::TakeSettings() {
  const app::AppState& state = context_.state;
  format_ = views::MakeRowFormat(context_.configuration.Settings, state.LanguageCode,
                                 state.IdentifierFieldMode, state.DataRadix);
  format_.layout = grid_->columns().layout();
}

void CMonitSView::RefreshSnapshot() {
  snapshot_ = Ring().Snapshot();
}

void CMonitSView::SetScrollSizes(int totalHeight) {
  const int rowHeight = grid_->rowHeight();
  const int pageHeight = recordRows_ * rowHeight;
  QScrollBar& bar = *verticalScrollBar();
  bar.setRange(0, views::ScrollMaximum(totalHeight, pageHeight));
  bar.setPageStep(std::max(pageHeight, rowHeight));
  bar.setSingleStep(rowHeight);
}

void CMonitSView::RecreateBackBuffer() {
  backBuffer_ = QImage(std::max(clientWidth_, 1), std::max(clientHeight_, 1), QImage::Format_RGB32);
  backBuffer_.fill(Qt::white);
  drawnSnapshot_.reset();
}

void CMonitSView::InitialUpdate() {
  clientWidth_ = viewport()->width();
  clientHeight_ = viewport()->height();
  recordRows_ = views::RecordRowsPerPage(clientHeight_, grid_->rowHeight());
  RecreateBackBuffer();
  if (Stopped()) {
    RefreshSnapshot();
    SetScrollSizes(views::TotalHeight(snapshot_, grid_->rowHeight()));
  }
  verticalScrollBar()->setValue(0);
  initialised_ = true;
}

void CMonitSView::showEvent(QShowEvent* event) {
  QAbstractScrollArea::showEvent(event);
  if (!initialised_) InitialUpdate();
}

void CMonitSView::OnTimer() {
  const Qt::CursorShape shape = Stopped() ? Qt::ArrowCursor : Qt::BusyCursor;
  if (viewport()->cursor().shape() != shape) viewport()->setCursor(shape);
  if (context_.state.AcquisitionRunning != 0) viewport()->update();
}

void CMonitSView::OnViewUpdate(const app::ViewUpdateCodes& codes) {
  if (!initialised_) return;
  switch (codes.Monitor) {
    case app::kUpdateMonitoringStarted:
      TakeSettings();
      foundIndex_ = -1;
      // The start has reset the stored marker; the view takes it again.
      storedMarker_.Clear();
      marker_ = storedMarker_;
      SetScrollSizes(kRunningTotalHeight);
      RecreateBackBuffer();
      OnTimer();
      viewport()->update();
      break;
    case app::kUpdateMonitoringStopped:
      RefreshSnapshot();
      SetScrollSizes(views::TotalHeight(snapshot_, grid_->rowHeight()));
      verticalScrollBar()->setValue(0);
      OnTimer();
      viewport()->update();
      break;
    case app::kUpdateSizeChanged:
      RecreateBackBuffer();
      break;
    default:
      break;
  }
}

void CMonitSView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  if (!initialised_) return;
  const QSize size = viewport()->size();
  if (size.height() == clientHeight_) {
    if (size.width() == 0 || size.width() == clientWidth_) return;
    clientWidth_ = size.width();
  } else {
    clientHeight_ = size.height();
    clientWidth_ = size.width();
    recordRows_ = views::RecordRowsPerPage(clientHeight_, grid_->rowHeight());
    if (context_.state.AcquisitionRunning == 0) {
      RefreshSnapshot();
      SetScrollSizes(views::TotalHeight(snapshot_, grid_->rowHeight()));
      verticalScrollBar()->setValue(0);
    }
  }
  // Every view rebuilds its back buffer.
  context_.state.ViewUpdateCode.Monitor = app::kUpdateSizeChanged;
  context_.windows.RefreshAllViews();
}

void CMonitSView::paintEvent(QPaintEvent* /*event*/) {
  RefreshSnapshot();
  if (Stopped()) {
    PaintBrowse();
  } else {
    PaintTail();
  }
}

void CMonitSView::PaintTail() {
  if (backBuffer_.width() != clientWidth_ || backBuffer_.height() != clientHeight_) {
    RecreateBackBuffer();
  }
  {
    QPainter painter(&backBuffer_);
    grid_->PaintHeader(painter, 0, clientWidth_);
    // Rows are drawn again only when records came or the buffer is new.
    if (!drawnSnapshot_ || !SameSnapshot(*drawnSnapshot_, snapshot_)) {
      const int rows = views::RowsToDraw(snapshot_, recordRows_);
      PaintTailRows(painter, *grid_, Ring().Records(), snapshot_, rows, format_);
      // Rows without a record are white, also when the ring was emptied by
      // a start after the back buffer was last drawn.
      const int below = (rows + 1) * grid_->rowHeight();
      if (rows < recordRows_)
        painter.fillRect(0, below, clientWidth_, clientHeight_ - below, Qt::white);
      drawnSnapshot_ = snapshot_;
    }
  }
  QPainter screen(viewport());
  screen.drawImage(0, 0, backBuffer_);
}

views::BrowsePage CMonitSView::CurrentBrowsePage() const {
  return views::BrowseRows(snapshot_, scrollPosition(), grid_->rowHeight(), recordRows_);
}

void CMonitSView::PaintBrowse() {
  QPainter painter(viewport());
  PaintBrowsePage(painter, *grid_, Ring().Records(), CurrentBrowsePage(), format_,
                  BrowseMarks{&marker_, foundIndex_}, viewport()->width(), viewport()->height());
}

void CMonitSView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !Stopped()) return;
  const QPoint at = event->position().toPoint();
  if (grid_->columns().ColumnAt(at.x()) != 0) return;
  RefreshSnapshot();
  const std::optional<std::uint32_t> m = views::ClickedMarkerIndex(
      snapshot_, at.y(), scrollPosition(), grid_->rowHeight(), recordRows_);
  if (!m) return;
  views::ToggleMarker(marker_, *m, Ring().Records()[*m - 1].time);
  viewport()->update();
}

void CMonitSView::wheelEvent(QWheelEvent* event) {
  QAbstractScrollArea::wheelEvent(event);
  if (!Stopped()) return;
  QScrollBar& bar = *verticalScrollBar();
  if (bar.value() >= bar.maximum() - grid_->rowHeight()) bar.setValue(bar.maximum());
}

std::optional<std::uint32_t> CMonitSView::RecordIndexAt(int row) const {
  if (row < 1) return std::nullopt;
  const monitor::RingSnapshot snapshot = Ring().Snapshot();
  if (Stopped()) {
    const views::BrowsePage page =
        views::BrowseRows(snapshot, scrollPosition(), grid_->rowHeight(), recordRows_);
    if (row > page.rows) return std::nullopt;
    return (page.firstIndex + static_cast<std::uint32_t>(row - 1)) % monitor::MonitorCapacity;
  }
  const int rows = views::RowsToDraw(snapshot, recordRows_);
  if (row > rows) return std::nullopt;
  return views::TailRecordIndex(snapshot, rows, row);
}

int CMonitSView::BottomRow() const {
  for (int row = recordRows_; row >= 1; --row) {
    if (RecordIndexAt(row)) return row;
  }
  return 0;
}

views::RowCells CMonitSView::CellsAt(int row) const {
  const std::optional<std::uint32_t> index = RecordIndexAt(row);
  if (!index) return {};
  const monitor::MonitorRecord& record = Ring().Records()[*index];
  if (Stopped()) return BrowseCells(record, *index, format_, BrowseMarks{&marker_, foundIndex_});
  return BrowseCells(record, *index, format_, BrowseMarks{});
}

}  // namespace orvane::ui
