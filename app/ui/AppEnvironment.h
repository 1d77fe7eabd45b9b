// What the program takes from its surroundings, gathered so that GUI tests
// can run the whole program in process: how the link library is bound, how
// message boxes, file dialogs and the LIN revision question are answered,
// the name of the single-instance lock, and whether the splash shows.
#pragma once

#include <QString>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "analyzer/LinkApi.h"
#include "app/WindowRequests.h"
#include "app/ui/GuiMessageSink.h"

class QWidget;

namespace orvane::ui {

struct AppEnvironment {
  // Binds the link library from the program folder.
  std::function<analyzer::LinkBinding(const std::filesystem::path&)> bindLink =
      analyzer::BindLinkLibrary;
  MessagePresenter presentMessage = ShowMessageBox;
  // The file dialogs; null: QFileDialog.
  std::function<std::optional<std::string>(const app::FileDialogRequest&)> chooseFile;
  // The LIN revision question (0 LIN 1.3, 1 LIN 2.0) preset to the current
  // one; nothing when it was cancelled. Null: the "LIN Revision Select
  // Window" dialog.
  std::function<std::optional<std::uint32_t>(QWidget* owner, std::uint32_t current)>
      chooseLinRevision;
  // The name of the single-instance lock and of the socket a second start
  // talks to.
  QString instanceName = QStringLiteral("orvane");
  // The folder the program's files live in; empty: the executable's folder.
  std::filesystem::path programFolder;
};

}  // namespace orvane::ui
