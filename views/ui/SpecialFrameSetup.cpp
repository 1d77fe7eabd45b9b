#include "views/ui/SpecialFrameSetup.h"

#include "app/ModeCommands.h"
#include "views/SpecialFrameEdit.h"
#include "views/ui/CSpecialFrameDlg.h"

namespace orvane::ui {

void RegisterSpecialFrameSetup(WindowRegistry& registry) {
  registry.RegisterCommand(
      app::MainCommand::kFrameHighlightSetup, [](const ShellServices& services) {
        const app::AppContext& context = services.context;
        settings::SettingsRecord& settings = context.configuration.Settings;
        CSpecialFrameDlg dialog(settings.FrameHighlights, views::IoEventNames(settings.Options),
                                settings.Identifiers, context.messages, services.mainWindow);
        if (dialog.exec() == QDialog::Accepted) app::SpecialFrameSetupAccepted(context);
      });
}

}  // namespace orvane::ui
