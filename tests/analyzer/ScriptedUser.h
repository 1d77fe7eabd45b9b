// A user of the firmware update conversation for tests: declines, or agrees
// and waits for the download to end, driving FirmwareUpdateController as the
// dialog does.
#pragma once

#include <filesystem>
#include <string>

#include "analyzer/FirmwareDownload.h"
#include "analyzer/FirmwareUpdateController.h"
#include "analyzer/FirmwareUpdatePrompt.h"

namespace orvane::analyzer::test {

class ScriptedUser : public FirmwareUpdatePrompt {
 public:
  enum class Choice { kDecline, kDownload };

  ScriptedUser(const RegisterMap& map, monitor::MessageSink& messages, Choice choice,
               std::filesystem::path programFolder)
      : map_(map), messages_(messages), choice_(choice), programFolder_(std::move(programFolder)) {}

  FirmwareUpdateResult RunFirmwareUpdate(const AnalyzerIdentity& identity) override {
    ++calls;
    FirmwareDownload download(map_, messages_, {.cancelWait = std::chrono::milliseconds(0)});
    FirmwareUpdateController dialog(download, identity, programFolder_, messages_);
    question = dialog.Text();
    if (choice_ == Choice::kDecline) return *dialog.OnCancel();
    dialog.OnOk();
    download.Join();
    dialog.OnTimer();
    finalText = dialog.Text();
    return *dialog.OnOk();
  }

  int calls = 0;
  std::string question;
  std::string finalText;

 private:
  const RegisterMap& map_;
  monitor::MessageSink& messages_;
  Choice choice_;
  std::filesystem::path programFolder_;
};

}  // namespace orvane::analyzer::test
