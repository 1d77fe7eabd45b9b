// The application's context for tests of the monitor view, without an
// analyzer (the view never talks to it): run state, default configuration,
// monitor rings, a message recorder and window requests that record
// themselves. Plus filling the ViewBuffer with numbered records.
#pragma once

#include <QFontDatabase>
#include <memory>

#include "analyzer/AnalyzerIdentity.h"
#include "analyzer/LinkApi.h"
#include "analyzer/RegisterMap.h"
#include "app/AppContext.h"
#include "app/Configuration.h"
#include "app/RunControl.h"
#include "app/ui/ShellView.h"
#include "monitor/MonitorState.h"
#include "tests/ui/support/RecordingSink.h"
#include "tests/ui/support/RecordingWindows.h"

namespace orvane::ui::testing {

class MonitorContextRig {
 public:
  MonitorContextRig() { app::SetDefaults(*configuration, ""); }

  analyzer::LinkApi api;  // never called: the view does not talk to the analyzer
  analyzer::RegisterMap map{api, [](std::chrono::milliseconds) {}};
  app::AppState state;
  std::unique_ptr<app::Configuration> configuration = std::make_unique<app::Configuration>();
  std::unique_ptr<monitor::MonitorState> monitor = std::make_unique<monitor::MonitorState>();
  std::unique_ptr<simulation::MasterRunState> master =
      std::make_unique<simulation::MasterRunState>();
  simulation::SlaveRunState slave;
  RecordingSink sink;
  RecordingWindows windows{state};
  app::LoadedDescription description;
  views::CaptureBuffer capture;
  app::AppContext context{state, *configuration, *monitor, map,         *master,
                          slave, sink,           windows,  description, capture};
  app::RunControl run{context};
  analyzer::AnalyzerIdentity identity;
  ShellServices services{context, run, identity,
                         QFontDatabase::systemFont(QFontDatabase::FixedFont), nullptr};
};

// Record number `n` of a test sequence: identifier n % 64, time n ms, data
// bytes n, n+1, ...; every 7th record is an Error, every 5th sent (Tx).
inline monitor::MonitorRecord NumberedRecord(std::uint32_t n) {
  monitor::MonitorRecord record{};
  record.time = static_cast<std::int32_t>(n);
  record.node = monitor::kNodeMaster;
  record.kind = n % 7 == 3 ? monitor::kKindError : monitor::kKindEnd;
  record.error = n % 7 == 3 ? monitor::kErrorChecksum : monitor::kErrorNone;
  record.flags = n % 5 == 0 ? monitor::MonitorRecord::kTxFlag : 0;
  record.ident = static_cast<std::uint8_t>(n % 64);
  for (int i = 0; i < 8; ++i) record.data[i] = static_cast<std::uint8_t>(n + i);
  record.checksum = static_cast<std::uint8_t>(~n);
  return record;
}

// Writes records 0 to count − 1 into the ring as the acquisition thread
// would (record n at index n % capacity) and publishes the result.
inline void FillRing(monitor::MonitorRing& ring, std::uint32_t count) {
  auto records = ring.MutableRecords();
  for (std::uint32_t n = 0; n < count; ++n)
    records[n % monitor::MonitorCapacity] = NumberedRecord(n);
  ring.Publish(count % monitor::MonitorCapacity, count >= monitor::MonitorCapacity);
}

}  // namespace orvane::ui::testing
