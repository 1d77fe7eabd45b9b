#include "views/ui/FrameHighlightSetup.h"

#include "app/ModeCommands.h"
#include "views/FrameHighlightEdit.h"
#include "views/ui/CFrameHighlightDlg.h"

namespace orvane::ui {

void RegisterFrameHighlightSetup(WindowRegistry& registry) {
  registry.RegisterCommand(
      app::MainCommand::kFrameHighlightSetup, [](const ShellServices& services) {
        const app::AppContext& context = services.context;
        settings::SettingsRecord& settings = context.configuration.Settings;
        CFrameHighlightDlg dialog(settings.FrameHighlights, views::IoEventNames(settings.Options),
                                settings.Identifiers, context.messages, services.mainWindow);
        if (dialog.exec() == QDialog::Accepted) app::FrameHighlightSetupAccepted(context);
      });
}

}  // namespace orvane::ui
