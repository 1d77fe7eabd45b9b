#include "app/ui/DialogFirmwareUpdatePrompt.h"

#include <QCoreApplication>
#include <thread>

#include "analyzer/FirmwareUpdateController.h"
#include "app/ui/CDownloadDlg.h"

namespace orvane::ui {
namespace {

// Keeps this thread's event loop going until a finished download's worker
// asks nothing more of it: after a cancel or a failure the worker may still
// wait for a message box, which only this thread can show, so joining it
// first would never return.
void ServeWorkerToItsEnd(const analyzer::FirmwareDownload& download) {
  const auto ended = [&] {
    const std::int32_t progress = download.Progress();
    return progress == analyzer::kDownloadFailed || progress == analyzer::kDownloadFinished;
  };
  while (!ended()) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace

DialogFirmwareUpdatePrompt::DialogFirmwareUpdatePrompt(const analyzer::RegisterMap& map,
                                                       monitor::MessageSink& messages,
                                                       std::filesystem::path programFolder,
                                                       QWidget* parent,
                                                       analyzer::FirmwareDownloadTiming timing)
    : map_(map),
      messages_(messages),
      programFolder_(std::move(programFolder)),
      parent_(parent),
      timing_(timing) {}

analyzer::FirmwareUpdateResult DialogFirmwareUpdatePrompt::RunFirmwareUpdate(
    const analyzer::AnalyzerIdentity& identity) {
  analyzer::FirmwareDownload download(map_, messages_, timing_);
  analyzer::FirmwareUpdateController controller(download, identity, programFolder_, messages_);
  CDownloadDlg dialog(controller, parent_);
  dialog.exec();
  // The dialog closes only before the download started or after it
  // finished; a finished one may still be on its way out.
  if (controller.Finished()) ServeWorkerToItsEnd(download);
  return dialog.Result();
}

}  // namespace orvane::ui
