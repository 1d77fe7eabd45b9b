// The firmware update conversation of the desktop program: the modal
// "Download" dialog (CDownloadDlg) over a firmware download of the image
// file in the program folder.
//
// Threads: the user-interface thread; RunFirmwareUpdate blocks in the
// dialog's event loop until the conversation is over and the download's
// worker has ended.
#pragma once

#include <filesystem>

#include "analyzer/FirmwareDownload.h"
#include "analyzer/FirmwareUpdatePrompt.h"
#include "analyzer/RegisterMap.h"
#include "monitor/MessageSink.h"

class QWidget;

namespace orvane::ui {

class DialogFirmwareUpdatePrompt final : public analyzer::FirmwareUpdatePrompt {
 public:
  // `parent` owns the dialog (the main window). The worker's message boxes
  // go to `messages`.
  DialogFirmwareUpdatePrompt(const analyzer::RegisterMap& map, monitor::MessageSink& messages,
                             std::filesystem::path programFolder, QWidget* parent,
                             analyzer::FirmwareDownloadTiming timing = {});

  analyzer::FirmwareUpdateResult RunFirmwareUpdate(
      const analyzer::AnalyzerIdentity& identity) override;

 private:
  const analyzer::RegisterMap& map_;
  monitor::MessageSink& messages_;
  std::filesystem::path programFolder_;
  QWidget* parent_;
  analyzer::FirmwareDownloadTiming timing_;
};

}  // namespace orvane::ui
