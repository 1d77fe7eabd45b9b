#include "views/ui/CMonitSView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "app/ReviewCommands.h"
#include "views/Capture.h"
#include "views/EachIdRows.h"
#include "views/ui/MonitorPagePaint.h"

namespace orvane::ui {
namespace {

constexpr int kRepaintMs = 200;
// The Monitor view's scroll height while monitoring runs.
constexpr int kRunningTotalHeight = 100;

bool SameSnapshot(const monitor::RingSnapshot& a, const monitor::RingSnapshot& b) {
  return a.writeIndex == b.writeIndex && a.wrapped == b.wrapped;
}

monitor::MonitorMask MaskOf(const app::Configuration& configuration) {
  monitor::MonitorMask mask;
  mask.MaskEnabled = configuration.Options.MaskEnabled != 0;
  mask.MaskIds = configuration.Options.MaskIds;
  return mask;
}

}  // namespace

CMonitSView::CMonitSView(const ShellServices& services, MonitorWindowKind kind,
                         views::RelativeTimeMarker& storedMarker, QWidget* parent)
    : CMonitSView(services, kind, &storedMarker, parent) {}

CMonitSView::CMonitSView(const ShellServices& services, QWidget* parent)
    : CMonitSView(services, MonitorWindowKind::kEachId, nullptr, parent) {}

CMonitSView::CMonitSView(const ShellServices& services, MonitorWindowKind kind,
                         views::RelativeTimeMarker* storedMarker, QWidget* parent)
    : QAbstractScrollArea(parent),
      context_(services.context),
      kind_(kind),
      storedMarker_(storedMarker) {
  if (storedMarker_ != nullptr) marker_ = *storedMarker_;
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
  if (storedMarker_ != nullptr) *storedMarker_ = marker_;
}

const monitor::MonitorRing& CMonitSView::Ring() const {
  return context_.monitor.ViewBuffer;
}

std::span<const monitor::MonitorRecord> CMonitSView::Records() const {
  switch (kind_) {
    case MonitorWindowKind::kCapture:
      return context_.capture.kept();
    case MonitorWindowKind::kEachId:
    case MonitorWindowKind::kMonitor:
      break;
  }
  return Ring().Records();
}

monitor::RingSnapshot CMonitSView::Snapshot() const {
  if (kind_ == MonitorWindowKind::kCapture) {
    return monitor::RingSnapshot{context_.capture.valid ? context_.capture.keptCount : 0u, false};
  }
  return Ring().Snapshot();
}

bool CMonitSView::Stopped() const {
  // A Capture window always behaves as stopped.
  return kind_ == MonitorWindowKind::kCapture || context_.state.MonitorStopped != 0;
}

int CMonitSView::TotalRows() const {
  if (kind_ == MonitorWindowKind::kEachId) {
    return Stopped() ? views::SeenSlotCount(context_.monitor.EachIdTable)
                     : monitor::kEachIdSlotCount;
  }
  return static_cast<int>(snapshot_.Count());
}

int CMonitSView::scrollPosition() const {
  return verticalScrollBar()->value();
}

int CMonitSView::scrollMaximum() const {
  return verticalScrollBar()->maximum();
}

// The copies a view keeps of the settings: data lengths, special frames and
// I/O names, taken at construction, at every start and at every capture;
// the header layout stays the one the view was made with.
void CMonitSView::TakeSettings() {
  const app::AppState& state = context_.state;
  format_ = views::MakeRowFormat(context_.configuration.Settings, state.LanguageCode,
                                 state.IdentifierFieldMode, state.DataRadix);
  format_.layout = grid_->columns().layout();
  format_.markSpecialFrames = kind_ != MonitorWindowKind::kEachId;
}

void CMonitSView::RefreshSnapshot() {
  snapshot_ = Snapshot();
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
  if (Stopped() || kind_ == MonitorWindowKind::kEachId) {
    RefreshSnapshot();
    SetScrollSizes(TotalRows() * grid_->rowHeight());
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
  // A capture does not change while monitoring goes on.
  if (context_.state.AcquisitionRunning != 0 && kind_ != MonitorWindowKind::kCapture) {
    viewport()->update();
  }
}

void CMonitSView::OnViewUpdate(const app::ViewUpdateCodes& codes) {
  // A capture is taken even before the window has been shown.
  if (codes.Monitor == app::kUpdateCaptureTaken) {
    if (kind_ == MonitorWindowKind::kCapture) TakeCaptureNow();
    return;
  }
  if (!initialised_) return;
  switch (codes.Monitor) {
    case app::kUpdateMonitoringStarted:
      OnStart();
      break;
    case app::kUpdateMonitoringStopped:
      // A Capture window keeps its contents.
      if (kind_ == MonitorWindowKind::kCapture) break;
      RefreshSnapshot();
      SetScrollSizes(TotalRows() * grid_->rowHeight());
      verticalScrollBar()->setValue(0);
      OnTimer();
      viewport()->update();
      break;
    case app::kUpdateSizeChanged:
      RecreateBackBuffer();
      break;
    case app::kUpdateTablesChanged:
      if (kind_ == MonitorWindowKind::kEachId) {
        SetScrollSizes(TotalRows() * grid_->rowHeight());
        viewport()->update();
      }
      break;
    case kUpdateFindFirst:
      Find(true);
      break;
    case kUpdateFindNext:
      Find(false);
      break;
    default:
      break;
  }
}

void CMonitSView::OnResetCaptureAndFind() {
  find_.Reset();
  foundIndex_ = -1;
}

void CMonitSView::OnStart() {
  TakeSettings();
  OnResetCaptureAndFind();
  // The start has reset the stored marker; the view takes it again.
  if (storedMarker_ != nullptr) storedMarker_->Clear();
  marker_.Clear();
  if (kind_ == MonitorWindowKind::kCapture) views::DiscardCapture(context_.capture);
  RefreshSnapshot();
  SetScrollSizes(kind_ == MonitorWindowKind::kMonitor ? kRunningTotalHeight
                                                      : TotalRows() * grid_->rowHeight());
  RecreateBackBuffer();
  OnTimer();
  viewport()->update();
}

void CMonitSView::TakeCaptureNow() {
  TakeSettings();
  marker_.Clear();
  const monitor::MonitorRing& raw = context_.monitor.MonitorBuffer;
  views::TakeCapture(context_.capture, raw.Records(), raw.Snapshot(),
                     MaskOf(context_.configuration));
  if (!initialised_) return;
  RefreshSnapshot();
  SetScrollSizes(TotalRows() * grid_->rowHeight());
  verticalScrollBar()->setValue(0);
  viewport()->update();
}

void CMonitSView::Find(bool first) {
  // The ring is searched only once the acquisition thread has stopped
  // writing it.
  if (kind_ != MonitorWindowKind::kMonitor || !Stopped()) return;
  RefreshSnapshot();
  std::optional<views::FindHit> hit;
  if (first) {
    const settings::SettingsRecord& settings = context_.configuration.Settings;
    const int dataLength = settings.Identifiers.dataLength[settings.Find.identifier & 0x3F];
    hit = find_.FindFirst(settings.Find, dataLength, Ring().Records(), snapshot_);
  } else {
    hit = find_.FindNext(Ring().Records(), snapshot_);
  }
  if (hit) {
    ShowFoundRecord(*hit);
    return;
  }
  // Find first forgets the previous hit; find next keeps it.
  foundIndex_ = find_.foundIndex();
  viewport()->update();
  context_.messages.Show(monitor::MessageBoxRequest{.caption = views::kFindWindowTitle,
                                                    .text = views::kSearchCompletedText,
                                                    .icon = monitor::MessageIcon::kInformation});
}

void CMonitSView::ShowFoundRecord(const views::FindHit& hit) {
  foundIndex_ = static_cast<std::int32_t>(hit.index);
  app::SelectReviewRecord(context_, hit.index);
  RefreshSnapshot();
  verticalScrollBar()->setValue(views::FindScrollPosition(
      hit.position, grid_->rowHeight(), snapshot_.Count(), recordRows_, scrollMaximum()));
  viewport()->update();
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
    // The Each ID view keeps its scroll position within the new range.
    if (kind_ != MonitorWindowKind::kMonitor || context_.state.AcquisitionRunning == 0) {
      RefreshSnapshot();
      SetScrollSizes(TotalRows() * grid_->rowHeight());
      if (kind_ != MonitorWindowKind::kEachId) verticalScrollBar()->setValue(0);
    }
  }
  // Every view rebuilds its back buffer.
  context_.state.ViewUpdateCode.Monitor = app::kUpdateSizeChanged;
  context_.windows.RefreshAllViews();
}

void CMonitSView::paintEvent(QPaintEvent* /*event*/) {
  RefreshSnapshot();
  if (kind_ == MonitorWindowKind::kEachId) {
    PaintEachId();
  } else if (Stopped()) {
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
  PaintBrowsePage(painter, *grid_, Records(), CurrentBrowsePage(), format_,
                  BrowseMarks{&marker_, foundIndex_}, viewport()->width(), viewport()->height());
}

int CMonitSView::FirstEachIdRow() const {
  return scrollPosition() / grid_->rowHeight();
}

// The whole page is drawn every time, on the widget's own back buffer, so
// that nothing flickers while the table changes.
void CMonitSView::PaintEachId() {
  const views::EachIdPage page =
      views::EachIdRows(context_.monitor.EachIdTable, FirstEachIdRow(), recordRows_);
  QPainter painter(viewport());
  PaintSlotPage(painter, *grid_, page.Records(), format_, viewport()->width(),
                viewport()->height());
}

void CMonitSView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || kind_ == MonitorWindowKind::kEachId || !Stopped()) {
    return;
  }
  const QPoint at = event->position().toPoint();
  if (grid_->columns().ColumnAt(at.x()) != 0) return;
  RefreshSnapshot();
  const std::optional<std::uint32_t> m = views::ClickedMarkerIndex(
      snapshot_, at.y(), scrollPosition(), grid_->rowHeight(), recordRows_);
  if (!m) return;
  views::ToggleMarker(marker_, *m, Records()[*m - 1].time);
  if (marker_.on && kind_ == MonitorWindowKind::kMonitor) {
    app::SelectReviewRecord(context_, *m - 1);
  }
  viewport()->update();
}

void CMonitSView::wheelEvent(QWheelEvent* event) {
  QAbstractScrollArea::wheelEvent(event);
  if (!Stopped() && kind_ != MonitorWindowKind::kEachId) return;
  QScrollBar& bar = *verticalScrollBar();
  if (bar.value() >= bar.maximum() - grid_->rowHeight()) bar.setValue(bar.maximum());
}

std::optional<std::uint32_t> CMonitSView::RecordIndexAt(int row) const {
  if (row < 1) return std::nullopt;
  if (kind_ == MonitorWindowKind::kEachId) {
    const views::EachIdPage page =
        views::EachIdRows(context_.monitor.EachIdTable, FirstEachIdRow(), recordRows_);
    if (row > page.rows) return std::nullopt;
    return page.slots[static_cast<std::size_t>(row - 1)];
  }
  const monitor::RingSnapshot snapshot = Snapshot();
  if (Stopped()) {
    const views::BrowsePage page =
        views::BrowseRows(snapshot, scrollPosition(), grid_->rowHeight(), recordRows_);
    if (row > page.rows) return std::nullopt;
    return (page.firstIndex + static_cast<std::uint32_t>(row - 1)) % snapshot.capacity;
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
  if (kind_ == MonitorWindowKind::kEachId) {
    return BrowseCells(context_.monitor.EachIdTable.records[*index].Load(), *index, format_,
                       BrowseMarks{});
  }
  const monitor::MonitorRecord& record = Records()[*index];
  if (Stopped()) {
    return BrowseCells(record, *index, format_, BrowseMarks{&marker_, foundIndex_});
  }
  return BrowseCells(record, *index, format_, BrowseMarks{});
}

}  // namespace orvane::ui
