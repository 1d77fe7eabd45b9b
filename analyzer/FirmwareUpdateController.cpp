#include "analyzer/FirmwareUpdateController.h"

#include <utility>

#include "monitor/MessageCatalogue.h"

namespace orvane::analyzer {
namespace {

constexpr std::int32_t kDownloadErrorMessage = 601;

}  // namespace

FirmwareUpdateController::FirmwareUpdateController(FirmwareDownload& download,
                                                   const AnalyzerIdentity& identity,
                                                   std::filesystem::path programFolder,
                                                   monitor::MessageSink& messages)
    : download_(download),
      version_(identity.firmwareVersion),
      imageFile_(std::move(programFolder) / kFirmwareImageFileName),
      messages_(messages),
      text_("Firmware Version is not correct.\nWould you like to download firmware(" + version_ +
            ")?") {}

std::optional<FirmwareUpdateResult> FirmwareUpdateController::OnOk() {
  if (finished_) {
    const bool cancelled = std::exchange(cancelled_, false);
    return cancelled ? FirmwareUpdateResult::kCancel : FirmwareUpdateResult::kOk;
  }
  if (!started_) {
    text_ = "Now downloading...";
    progressValue_ = 0;
    download_.Start(imageFile_, version_);
    started_ = true;
  }
  return std::nullopt;
}

std::optional<FirmwareUpdateResult> FirmwareUpdateController::OnCancel() {
  if (!started_) return FirmwareUpdateResult::kCancel;
  download_.Cancel();
  started_ = false;
  finished_ = true;
  cancelled_ = true;
  text_ = "Downloading is canceled.";
  return std::nullopt;
}

void FirmwareUpdateController::OnTimer() {
  if (!started_) return;
  const std::int32_t progress = download_.Progress();
  if (progress == kDownloadFailed) {
    started_ = false;
    finished_ = true;
    text_ = "Downloading is not complete.";
    monitor::ShowErrorMessage(messages_, kDownloadErrorMessage);
    return;
  }
  progressValue_ = progress;
  if (progress >= kDownloadFinished) {
    started_ = false;
    finished_ = true;
    text_ = "Downloading is almost complete.";
  }
}

}  // namespace orvane::analyzer
