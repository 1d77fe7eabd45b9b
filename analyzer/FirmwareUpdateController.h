// The rules of the firmware update dialog ("Download"), without the window:
// its text line, its flags, what OK, Cancel and the 200 ms timer do, and how
// it closes. CDownloadDlg shows Text() and ProgressValue() and forwards its
// buttons and timer here; orvane-cli and tests drive it the same way.
//
// Threads: the thread that runs the conversation (the user-interface
// thread); the download itself runs on its own worker (FirmwareDownload).
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "analyzer/AnalyzerIdentity.h"
#include "analyzer/FirmwareDownload.h"
#include "analyzer/FirmwareUpdatePrompt.h"
#include "monitor/MessageSink.h"

namespace orvane::analyzer {

inline constexpr std::chrono::milliseconds kFirmwareUpdateTimerPeriod{200};
inline constexpr std::int32_t kProgressRange = 256;  // the progress bar runs 0-256

class FirmwareUpdateController {
 public:
  // The image file is "<programFolder>/vxlfrm.dat".
  FirmwareUpdateController(FirmwareDownload& download, const AnalyzerIdentity& identity,
                           std::filesystem::path programFolder, monitor::MessageSink& messages);

  // The text line: first the question naming the required version.
  const std::string& Text() const { return text_; }
  // The value for the progress bar, updated on each timer tick.
  std::int32_t ProgressValue() const { return progressValue_; }
  bool Started() const { return started_; }
  bool Finished() const { return finished_; }

  // OK: before the download, starts it and returns nothing (the dialog stays
  // open); after it has finished, returns how the dialog closes (kCancel when
  // it was cancelled, else kOk); while it runs, nothing happens.
  std::optional<FirmwareUpdateResult> OnOk();
  // Cancel: while the download runs, cancels it and returns nothing; otherwise
  // the dialog closes with kCancel.
  std::optional<FirmwareUpdateResult> OnCancel();
  // Every 200 ms: follows the worker's progress; a failure sets "Downloading
  // is not complete." and shows message 601, completion sets "Downloading is
  // almost complete.".
  void OnTimer();

 private:
  FirmwareDownload& download_;
  std::string version_;
  std::filesystem::path imageFile_;
  monitor::MessageSink& messages_;
  std::string text_;
  std::int32_t progressValue_ = 0;
  bool started_ = false;
  bool finished_ = false;
  bool cancelled_ = false;
};

}  // namespace orvane::analyzer
