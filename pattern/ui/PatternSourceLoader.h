// Reads the pattern editor's source (a pattern file as it is, a monitor log
// converted) on a worker thread, so that the dialog stays responsive and can
// show the progress and cancel.
//
// The worker runs pattern::LoadPatternSource and touches nothing but the
// shared ConversionProgress; its result reaches the user-interface thread
// through a queued call, where the worker is joined and Finished is emitted.
//
// Threads: the loader itself lives on the user-interface thread.
#pragma once

#include <QObject>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <thread>

#include "pattern/PatternSource.h"

namespace orvane::ui {

class PatternSourceLoader final : public QObject {
  Q_OBJECT

 public:
  explicit PatternSourceLoader(QObject* parent = nullptr);
  // Stops a running worker (see Stop).
  ~PatternSourceLoader() override;

  // Starts reading `source`; a log keeps only frames of `filterIdent` when
  // one is given. Call only while nothing runs.
  void Start(std::filesystem::path source, std::optional<std::uint8_t> filterIdent);
  // Asks the worker to stop after the chunk in hand; Finished follows with
  // PatternSourceStatus::kCancelled (or with the result, when the worker
  // had just completed).
  void Cancel();
  // Cancels and waits for the worker to end; no Finished follows.
  void Stop();

  // From Start until Finished or Stop.
  bool running() const { return running_; }
  const pattern::ConversionProgress& progress() const { return progress_; }

 Q_SIGNALS:
  void Finished(const pattern::PatternSourceResult& result);

 private:
  void Deliver(unsigned run, const pattern::PatternSourceResult& result);

  pattern::ConversionProgress progress_;
  std::thread worker_;
  bool running_ = false;
  // Numbers the runs, so that the result of a stopped run, still queued,
  // is dropped.
  unsigned run_ = 0;
};

}  // namespace orvane::ui
