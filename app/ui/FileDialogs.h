// The core's file dialog requests as QFileDialogs.
#pragma once

#include <QString>
#include <filesystem>
#include <optional>
#include <string>

#include "app/WindowRequests.h"

class QWidget;

namespace orvane::ui {

// "Log File(*.log)|*.log|All(*.*)|*.*||" as Qt's "Log File(*.log);;All(*.*)".
QString QtFilter(std::string_view filter);

std::optional<std::string> RunFileDialog(QWidget* owner, const app::FileDialogRequest& request);

// Opens an existing document with the desktop's viewer; false when it is
// missing or no viewer took it.
bool OpenWithDesktop(const std::filesystem::path& document);

}  // namespace orvane::ui
