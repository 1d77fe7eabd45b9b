#include "views/ui/MonitorWindows.h"

#include <memory>

#include "views/Capture.h"
#include "views/ui/CChildFrame.h"
#include "views/ui/CFindDlg.h"
#include "views/ui/CMonitSView.h"

namespace orvane::ui {
namespace {

// What the families keep across their windows' lives; owned by the
// registration, so it lives as long as the registry keeps the families.
struct MonitorFamilies {
  StoredMarkers markers;
  // The application's capture, known once a Capture window was made (no
  // capture exists before).
  views::CaptureBuffer* capture = nullptr;
};

QWidget* MakeFrame(MonitorWindowKind kind, CMonitSView* view) {
  return new CChildFrame(kind, view);
}

}  // namespace

void RegisterMonitorWindows(WindowRegistry& registry) {
  auto families = std::make_shared<MonitorFamilies>();
  registry.Register(WindowFamily{
      app::Window::kMonitor,
      [families](const ShellServices& services) -> QWidget* {
        return MakeFrame(MonitorWindowKind::kMonitor,
                         new CMonitSView(services, MonitorWindowKind::kMonitor,
                                         families->markers.monitor));
      },
      // A start forgets the relative time markers, also of closed windows.
      [families] { families->markers = StoredMarkers{}; }});
  registry.Register(WindowFamily{app::Window::kEachId,
                                 [](const ShellServices& services) -> QWidget* {
                                   return MakeFrame(MonitorWindowKind::kEachId,
                                                    new CMonitSView(services));
                                 }});
  registry.Register(WindowFamily{
      app::Window::kCapture,
      [families](const ShellServices& services) -> QWidget* {
        families->capture = &services.context.capture;
        return MakeFrame(MonitorWindowKind::kCapture,
                         new CMonitSView(services, MonitorWindowKind::kCapture,
                                         families->markers.capture));
      },
      // A start discards the capture, also while no Capture window is open,
      // so that a window opened later never shows the previous run's.
      [families] {
        if (families->capture != nullptr) views::DiscardCapture(*families->capture);
      }});
  registry.Register(WindowFamily{app::Window::kFind,
                                 [](const ShellServices& services) -> QWidget* {
                                   return new CFindDlg(services.context);
                                 }});
}

}  // namespace orvane::ui
