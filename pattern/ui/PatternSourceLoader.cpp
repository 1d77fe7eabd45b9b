#include "pattern/ui/PatternSourceLoader.h"

#include <utility>

namespace orvane::ui {

PatternSourceLoader::PatternSourceLoader(QObject* parent) : QObject(parent) {}

PatternSourceLoader::~PatternSourceLoader() {
  Stop();
}

void PatternSourceLoader::Start(std::filesystem::path source,
                                std::optional<std::uint8_t> filterIdent) {
  progress_.cancelRequested = false;
  progress_.bytesRead = 0;
  progress_.totalBytes = 0;
  running_ = true;
  const unsigned run = ++run_;
  worker_ = std::thread([this, run, source = std::move(source), filterIdent] {
    pattern::PatternSourceResult result =
        pattern::LoadPatternSource(source, filterIdent, progress_);
    // Queued to this object: when the loader is destroyed first, the call is
    // dropped with it.
    QMetaObject::invokeMethod(
        this, [this, run, result = std::move(result)] { Deliver(run, result); },
        Qt::QueuedConnection);
  });
}

void PatternSourceLoader::Cancel() {
  if (running_) progress_.cancelRequested = true;
}

void PatternSourceLoader::Stop() {
  progress_.cancelRequested = true;
  if (worker_.joinable()) worker_.join();
  running_ = false;
}

void PatternSourceLoader::Deliver(unsigned run, const pattern::PatternSourceResult& result) {
  if (run != run_ || !running_) return;
  worker_.join();
  running_ = false;
  Q_EMIT Finished(result);
}

}  // namespace orvane::ui
