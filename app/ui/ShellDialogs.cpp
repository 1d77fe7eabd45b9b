#include "app/ModeCommands.h"
#include "app/ui/CAboutDlg.h"
#include "app/ui/COptionDlg.h"
#include "app/ui/ProgramWindows.h"
#include "signals/ui/CIdDefineDlg.h"

namespace orvane::ui {

void RegisterShellDialogs(WindowRegistry& registry) {
  registry.RegisterCommand(app::MainCommand::kAbout, [](const ShellServices& services) {
    CAboutDlg about(services.identity, QString::fromStdString(services.context.state.LanguageCode),
                    services.mainWindow);
    about.exec();
  });
  registry.RegisterCommand(app::MainCommand::kOptionSetup, [](const ShellServices& services) {
    COptionDlg dialog(services.context, services.mainWindow);
    if (dialog.exec() == QDialog::Accepted) app::OptionSetupAccepted(services.context);
  });
  registry.RegisterCommand(app::MainCommand::kIdentifierDefinition,
                           [](const ShellServices& services) {
                             const app::AppContext& context = services.context;
                             settings::SettingsRecord& settings = context.configuration.Settings;
                             CIdDefineDlg dialog(settings.Identifiers, settings.LinRevision,
                                                 context.messages, services.mainWindow);
                             if (dialog.exec() == QDialog::Accepted)
                               app::IdentifierDefinitionAccepted(context);
                           });
}

}  // namespace orvane::ui
