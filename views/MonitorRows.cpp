#include "views/MonitorRows.h"

#include <algorithm>

namespace orvane::views {

using monitor::RingSnapshot;

int RecordRowsPerPage(int clientHeight, int rowHeight) {
  if (rowHeight <= 0) return 0;
  return std::max(clientHeight / rowHeight - 1, 0);
}

int RowsToDraw(const RingSnapshot& snapshot, int recordRows) {
  if (!snapshot.wrapped && snapshot.writeIndex < static_cast<std::uint32_t>(recordRows)) {
    return static_cast<int>(snapshot.writeIndex);
  }
  return recordRows;
}

std::uint32_t TailRecordIndex(const RingSnapshot& snapshot, int rowsToDraw, int row) {
  const std::uint32_t back = static_cast<std::uint32_t>(rowsToDraw - row) + 1;
  return (snapshot.writeIndex + snapshot.capacity - back) % snapshot.capacity;
}

int TotalHeight(const RingSnapshot& snapshot, int rowHeight) {
  return static_cast<int>(snapshot.Count()) * rowHeight;
}

int ScrollMaximum(int totalHeight, int pageHeight) {
  return std::max(totalHeight - pageHeight, 0);
}

int ClampScroll(int scrollY, int maximum) {
  return std::clamp(scrollY, 0, std::max(maximum, 0));
}

BrowsePage BrowseRows(const RingSnapshot& snapshot, int scrollY, int rowHeight, int recordRows) {
  if (rowHeight <= 0) return {};
  const std::uint32_t position = static_cast<std::uint32_t>(std::max(scrollY, 0) / rowHeight);
  BrowsePage page;
  page.firstIndex = position;
  if (snapshot.wrapped) page.firstIndex = (page.firstIndex + snapshot.writeIndex) % snapshot.capacity;
  if (page.firstIndex >= snapshot.capacity) page.firstIndex = 0;
  // Rows past the newest record stay empty (a scroll position left over
  // from a larger buffer never shows records that are not there).
  const std::uint32_t count = snapshot.Count();
  const std::uint32_t left = position < count ? count - position : 0;
  page.rows = static_cast<int>(
      std::min<std::uint32_t>(left, static_cast<std::uint32_t>(RowsToDraw(snapshot, recordRows))));
  return page;
}

std::optional<std::uint32_t> ClickedMarkerIndex(const RingSnapshot& snapshot, int y, int scrollY,
                                                int rowHeight, int recordRows) {
  if (rowHeight <= 0 || y < 0) return std::nullopt;
  const int row = y / rowHeight;
  const BrowsePage page = BrowseRows(snapshot, scrollY, rowHeight, recordRows);
  if (row == 0 || row > page.rows) return std::nullopt;
  std::uint32_t m = static_cast<std::uint32_t>(row + std::max(scrollY, 0) / rowHeight);
  if (snapshot.wrapped) {
    m += snapshot.writeIndex;
    if (m > snapshot.capacity) m -= snapshot.capacity;
  }
  return m;
}

void ToggleMarker(RelativeTimeMarker& marker, std::uint32_t m, std::int32_t time) {
  if (marker.on && marker.index == static_cast<std::int32_t>(m)) {
    marker.Clear();
    return;
  }
  marker.time = time;
  marker.on = true;
  marker.index = static_cast<std::int32_t>(m);
}

}  // namespace orvane::views
