// The pattern file selection dialog ("Select Pattern File"), opened from
// the master and slave simulation setups: a path with a "..." browse
// button and a read-only preview of the file's first 11 lines. "OK"
// accepts an empty path at once and any other path only when it passes the
// select check of pattern files; otherwise the check's message is shown in
// a box titled "Error" and the dialog stays open.
//
// In the display mode the dialog is titled "Pattern Introduction" and only
// shows the file: the path cannot be edited or browsed.
//
// The browse dialog starts in the folder of the current path, else in the
// last pattern folder (PatternDialogValues), else in the program folder;
// the chosen file's folder becomes the last pattern folder. It goes through
// the WindowRequests given with SetFileDialogs (the program's file dialogs,
// or a test's answers); without them the dialog runs Qt's open dialog
// itself.
//
// Modal. Threads: the user-interface thread only.
#pragma once

#include <QDialog>
#include <filesystem>
#include <optional>
#include <string>

#include "app/WindowRequests.h"
#include "monitor/MessageSink.h"

class QFont;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace orvane::ui {

class CPatSelectDlg final : public QDialog {
  Q_OBJECT

 public:
  enum Mode { kSelect, kDisplay };

  // `currentPath` may be empty.
  CPatSelectDlg(const std::string& currentPath, Mode mode, monitor::MessageSink& messages,
                const QFont& gridFont, const std::filesystem::path& programFolder,
                QWidget* parent = nullptr);

  // The path in the field; after exec() returned Accepted, the chosen file
  // (empty: none).
  std::string chosenPath() const;

  void SetFileDialogs(app::WindowRequests& windows) { windows_ = &windows; }

 public Q_SLOTS:
  void accept() override;

 private:
  void Browse();
  void LoadPreview();
  std::filesystem::path BrowseFolder() const;
  std::optional<std::string> ChooseFile(const app::FileDialogRequest& request);

  monitor::MessageSink& messages_;
  std::filesystem::path programFolder_;
  app::WindowRequests* windows_ = nullptr;

  QLineEdit* path_ = nullptr;
  QPushButton* browse_ = nullptr;
  QPlainTextEdit* preview_ = nullptr;
};

}  // namespace orvane::ui
