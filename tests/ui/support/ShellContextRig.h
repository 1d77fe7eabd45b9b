// The application's context around the virtual analyzer (virtual clock,
// link opened, default configuration) for tests of single windows that
// read the run state, the monitor data and the analyzer. Message boxes and
// window requests are recorded; the grid font is the system's fixed font.
#pragma once

#include <QFontDatabase>
#include <memory>

#include "analyzer/AnalyzerIdentity.h"
#include "analyzer/RegisterMap.h"
#include "app/AppContext.h"
#include "app/Configuration.h"
#include "app/RunControl.h"
#include "app/ui/ShellView.h"
#include "tests/support/StaticLinkApi.h"
#include "tests/support/VirtualLinkRig.h"
#include "tests/app/RunControlTestSupport.h"
#include "tests/ui/support/RecordingSink.h"

namespace orvane::ui::testing {

class ShellContextRig {
 public:
  ShellContextRig() {
    app::SetDefaults(*configuration, "");
    opened = api.InitUSB() == 1;
  }

  orvane::testing::VirtualLinkRig link;
  analyzer::LinkApi api = orvane::testing::StaticLinkApi();
  analyzer::RegisterMap map{
      api, [clock = &link.clock()](std::chrono::milliseconds wait) { clock->SleepFor(wait); }};
  bool opened = false;
  app::AppState state;
  std::unique_ptr<app::Configuration> configuration = std::make_unique<app::Configuration>();
  std::unique_ptr<monitor::MonitorState> monitor = std::make_unique<monitor::MonitorState>();
  std::unique_ptr<simulation::MasterRunState> master =
      std::make_unique<simulation::MasterRunState>();
  simulation::SlaveRunState slave;
  RecordingSink sink;
  app::testing::RecordingWindows windows{state};
  app::LoadedDescription description;
  views::CaptureBuffer capture;
  app::AppContext context{state, *configuration, *monitor, map,         *master,
                          slave, sink,           windows,  description, capture};
  app::RunControl run{context};
  analyzer::AnalyzerIdentity identity;
  ShellServices services{context, run, identity,
                         QFontDatabase::systemFont(QFontDatabase::FixedFont), nullptr};
};

}  // namespace orvane::ui::testing
