// The firmware download worker: erases the analyzer's version area, reads
// the firmware image file, erases the image area, writes the image in 256
// blocks of 256 bytes and finally records the new version text.
//
// Threads: Start, Cancel, Progress and Join are for the thread that owns the
// download (the dialog's); the worker thread is the only user of the link
// library while it runs. The two share only the progress value (atomic,
// written by the worker) and the cancel event. The destructor cancels a
// running download and joins the worker, which ends before its next block.
//
// Failures end the worker with progress kDownloadFailed: the version area
// cannot be erased (nothing else happens), the file cannot be opened (the
// version area stays erased, so the next start-up offers the update again),
// the image area cannot be erased (message 6 is shown as well), a block or
// the version text cannot be written, or the download was cancelled.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>

#include "analyzer/AutoResetEvent.h"
#include "analyzer/RegisterMap.h"
#include "monitor/MessageSink.h"

namespace orvane::analyzer {

inline constexpr std::int32_t kDownloadFailed = -1;
inline constexpr std::int32_t kDownloadFinished = 256;
inline constexpr int kFirmwareBlockCount = 256;

// The image file's name in the program folder.
inline constexpr char kFirmwareImageFileName[] = "vxlfrm.dat";

struct FirmwareDownloadTiming {
  // How long the worker waits for the cancel event before each block.
  std::chrono::milliseconds cancelWait{5};
  // The pause after each block, through the register map's sleep function.
  std::chrono::milliseconds blockPause{5};
};

class FirmwareDownload {
 public:
  FirmwareDownload(const RegisterMap& map, monitor::MessageSink& messages,
                   FirmwareDownloadTiming timing = {});
  // Cancels a running download and waits for the worker to end.
  ~FirmwareDownload();
  FirmwareDownload(const FirmwareDownload&) = delete;
  FirmwareDownload& operator=(const FirmwareDownload&) = delete;

  // Sets the progress to 0 and starts the worker on `imageFile`; the version
  // text is written to the version area when the image is in. A previous
  // worker is joined first.
  void Start(std::filesystem::path imageFile, std::string version);
  // Signals the cancel event; the worker stops before its next block.
  void Cancel() { cancel_.Set(); }
  // 0-255: index of the last block written; kDownloadFinished; kDownloadFailed.
  std::int32_t Progress() const { return progress_.load(std::memory_order_acquire); }
  // Waits until the worker has ended.
  void Join();

 private:
  std::int32_t Run(const std::filesystem::path& imageFile, const std::string& version);

  const RegisterMap& map_;
  monitor::MessageSink& messages_;
  FirmwareDownloadTiming timing_;
  std::atomic<std::int32_t> progress_{0};
  AutoResetEvent cancel_;
  std::thread worker_;
};

}  // namespace orvane::analyzer
