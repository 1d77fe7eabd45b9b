// The three windows built on the monitor view: kind 0 Monitor,
// 1 Each ID, 2 Capture, and the update codes they add.
#pragma once

#include <cstdint>

#include "app/AppState.h"

namespace orvane::ui {

enum class MonitorWindowKind : std::uint8_t {
  kMonitor = 0,
  kEachId = 1,
  kCapture = 2,
};

// The update codes the monitor views add to app::ViewUpdate: the Find
// window's "Find" and "Next", for the Monitor view (kind 0).
inline constexpr std::int32_t kUpdateFindFirst = 12;
inline constexpr std::int32_t kUpdateFindNext = 13;

inline app::Window WindowOfKind(MonitorWindowKind kind) {
  switch (kind) {
    case MonitorWindowKind::kMonitor:
      return app::Window::kMonitor;
    case MonitorWindowKind::kEachId:
      return app::Window::kEachId;
    case MonitorWindowKind::kCapture:
      return app::Window::kCapture;
  }
  return app::Window::kMonitor;
}

}  // namespace orvane::ui
