#include "views/ui/BusStatisticsWindow.h"

#include <QMdiSubWindow>

#include "app/WindowCommands.h"
#include "app/ui/QtText.h"
#include "views/ui/CBusStatView.h"

namespace orvane::ui {

void RegisterBusStatisticsWindow(WindowRegistry& registry) {
  registry.Register(WindowFamily{
      app::Window::kBusStatistics, [](const ShellServices& services) -> QWidget* {
        auto* frame = new QMdiSubWindow;
        frame->setWindowTitle(QtText(app::WindowBaseName(app::Window::kBusStatistics)));
        frame->setWidget(new CBusStatView(services.context));
        return frame;
      }});
  registry.RegisterCommand(app::MainCommand::kBusStatisticsWindow,
                           [](const ShellServices& services) {
                             app::ToggleWindow(services.context, app::Window::kBusStatistics);
                           });
}

}  // namespace orvane::ui
