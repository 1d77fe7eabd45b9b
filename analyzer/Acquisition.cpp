#include "analyzer/Acquisition.h"

#include <cstdio>
#include <memory>
#include <span>
#include <utility>

namespace orvane::analyzer {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

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

  File log;
  if (settings.loggingEnabled) {
    // Binary mode: the log writer ends its lines with CR LF itself.
    log.reset(std::fopen(LiveLogPath(settings).c_str(), "wb"));
    if (log) {
      monitor::WriteLogHeader(log.get());
    } else {
      stop = true;
      errorCode = kAcquisitionLogFailed;
    }
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
    if (log && count != 0) {
      logWriter.Write(log.get(), records);
      std::fflush(log.get());
    }
    monitor::UpdateViewBuffer(state_, settings.mask);
    idTablePosition =
        monitor::UpdateIdTables(state_, idTablePosition, settings.sortOrder, settings.nodeOrder);
  }
  log.reset();

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
