#include "analyzer/Acquisition.h"

#include <sys/types.h>

#include <cstdio>
#include <memory>
#include <span>
#include <system_error>
#include <utility>

namespace orvane::analyzer {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The live log file. Each block's lines reach the file with one flush; when
// a write fails (a full disk, a file size limit) the file is cut back to the
// end of the last flush that succeeded, so it never ends in a cut line.
class LiveLog {
 public:
  // Creates the file and writes the header line; false when either fails.
  bool Open(const std::filesystem::path& path) {
    path_ = path;
    // Binary mode: the log writer ends its lines with CR LF itself.
    file_.reset(std::fopen(path.c_str(), "wb"));
    if (!file_) return false;
    monitor::WriteLogHeader(file_.get());
    return Flush();
  }
  bool IsOpen() const { return file_ != nullptr; }
  std::FILE* get() const { return file_.get(); }
  // False when something written since the last flush did not reach the file.
  bool Flush() {
    if (std::fflush(file_.get()) != 0 || std::ferror(file_.get()) != 0) {
      failed_ = true;
      return false;
    }
    // A pipe has no size to cut back to.
    if (const off_t size = ftello(file_.get()); size >= 0) flushedSize_ = size;
    return true;
  }
  // Closes the file; after a failed write it is cut back to the last flush.
  void Close() {
    if (!file_) return;
    if (std::fclose(file_.release()) != 0) failed_ = true;
    if (!failed_) return;
    std::error_code ignored;
    std::filesystem::resize_file(path_, static_cast<std::uintmax_t>(flushedSize_), ignored);
  }

 private:
  std::filesystem::path path_;
  File file_;
  off_t flushedSize_ = 0;
  bool failed_ = false;
};

}  // namespace

std::filesystem::path LiveLogPath(const AcquisitionSettings& settings) {
  return settings.logPath.empty() ? settings.defaultLogFolder / kDefaultLogFileName
                                  : settings.logPath;
}

Acquisition::Acquisition(const LinkApi& link, monitor::MonitorState& state,
                         monitor::MessageSink& messages)
    : link_(link), state_(state), messages_(messages) {}

Acquisition::~Acquisition() {
  SignalStop();
  Join();
}

void Acquisition::Start(AcquisitionSettings settings) {
  Join();
  stopEvent_.Reset();
  running_.store(true, std::memory_order_release);
  thread_ = std::thread([this, settings = std::move(settings)] {
    lastErrorCode_.store(Run(settings), std::memory_order_release);
    running_.store(false, std::memory_order_release);
  });
}

void Acquisition::Join() {
  if (thread_.joinable()) thread_.join();
}

// The thread body; returns its error code.
int Acquisition::Run(const AcquisitionSettings& settings) {
  monitor::ResetMonitorData(state_);
  header_ = {};
  block_.fill({});
  bool stop = false;
  int errorCode = 0;

  LiveLog log;
  if (settings.loggingEnabled && !log.Open(LiveLogPath(settings))) {
    stop = true;
    errorCode = kAcquisitionLogFailed;
  }
  monitor::LogSequenceWriter logWriter(settings.logFormat);
  std::uint32_t idTablePosition = 0;

  for (;;) {
    if (stopEvent_.WaitFor(settings.stopPollInterval)) stop = true;
    if (stop) break;
    if (link_.MonitorRead(reinterpret_cast<std::uint8_t*>(&header_),
                          reinterpret_cast<std::uint8_t*>(block_.data()),
                          kBlockRecordCapacity) != 1) {
      stop = true;
      errorCode = kAcquisitionReadFailed;
      continue;
    }
    std::size_t count = header_.recordCount;
    if (count > kBlockRecordCapacity) {
      count = kBlockRecordCapacity;
      stop = true;
      errorCode = kAcquisitionOversizedBlock;
    }
    const std::span<const monitor::MonitorRecord> records(block_.data(), count);
    monitor::AppendBlock(state_, records, header_);
    if (log.IsOpen() && count != 0) {
      logWriter.Write(log.get(), records);
      // A log that can no longer be written ends the run; the records stay
      // in the buffers.
      if (!log.Flush() && errorCode == 0) {
        stop = true;
        errorCode = kAcquisitionLogFailed;
      }
    }
    monitor::UpdateViewBuffer(state_, settings.mask);
    idTablePosition =
        monitor::UpdateIdTables(state_, idTablePosition, settings.sortOrder, settings.nodeOrder);
  }
  log.Close();

  if (errorCode != 0) {
    if (messages_.CanShow()) {
      char text[64];
      std::snprintf(text, sizeof text, "Monitor Data Read Error.(%d)", errorCode);
      monitor::ShowErrorBox(messages_, text);
    }
    state_.AcquisitionFailed.store(true);
  }
  return errorCode;
}

}  // namespace orvane::analyzer
