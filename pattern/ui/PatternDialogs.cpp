#include "pattern/ui/PatternDialogs.h"

#include "pattern/ui/CPatternDlg.h"
#include "pattern/ui/PatternDialogValues.h"

namespace orvane::ui {

void RegisterPatternDialogs(WindowRegistry& registry) {
  registry.RegisterCommand(app::MainCommand::kPatternEdit, [](const ShellServices& services) {
    CPatternDlg dialog(SharedPatternDialogValues(), services.context.windows,
                       services.context.messages, services.gridFont, services.mainWindow);
    dialog.exec();
  });
}

}  // namespace orvane::ui
