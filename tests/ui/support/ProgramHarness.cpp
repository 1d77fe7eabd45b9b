#include "tests/ui/support/ProgramHarness.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>
#include <atomic>

#include "app/ui/CMainFrame.h"
#include "emulator/Clock.h"
#include "link/Seams.h"
#include "link/driver/virtual/VirtualDriver.h"
#include "tests/support/StaticLinkApi.h"

namespace orvane::testing {
namespace {

QString UniqueInstanceName() {
  static std::atomic<int> next{0};
  return QStringLiteral("orvane-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(next++);
}

}  // namespace

emulator::AnalyzerProfile ProgramHarness::ProfileForGui() {
  return *emulator::ProfileNamed("clean");
}

ProgramHarness::ProgramHarness(emulator::AnalyzerProfile profile)
    : instanceName(UniqueInstanceName()),
      analyzer_(std::make_shared<emulator::VirtualAnalyzer>(std::make_shared<emulator::RealClock>(),
                                                            std::move(profile))) {
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder_.path());
  orlink::SetDriver(std::make_unique<orlink::driver::VirtualDriver>(analyzer_));
  orlink::SetSleeper({});
}

ProgramHarness::~ProgramHarness() {
  app_.reset();
  orlink::SetDriver(nullptr);
}

std::filesystem::path ProgramHarness::programFolder() const {
  return programFolder_.path().toStdString();
}

ui::AppEnvironment EnvironmentFor(ProgramHarness& harness) {
  ui::AppEnvironment environment;
  // The program's Virtual Analyzer menu reaches the harness's analyzer.
  environment.bindLink = [&harness](const std::filesystem::path&) {
    emulator::VirtualAnalyzer* analyzer = &harness.analyzer();
    return analyzer::LinkBinding{
        StaticLinkApi(), {}, [analyzer](std::int32_t action, std::uint32_t value) {
          return orlink::driver::ApplyVirtualControl(*analyzer, action, value);
        }};
  };
  environment.presentMessage = [&harness](const monitor::MessageBoxRequest& request) {
    harness.boxes.push_back({std::string(request.caption), std::string(request.text), request.icon,
                             std::string(request.detail), std::string(request.extraButton)});
    const bool question =
        request.buttons != monitor::MessageButtons::kOk || !request.extraButton.empty();
    if (!question || harness.answers.empty()) {
      return monitor::MessageAnswer::kOk;
    }
    const monitor::MessageAnswer answer = harness.answers.front();
    harness.answers.pop_front();
    return answer;
  };
  environment.chooseFile = [&harness](const app::FileDialogRequest& request) {
    harness.fileDialogTitles.emplace_back(request.title);
    return harness.chosenFile;
  };
  environment.chooseLinRevision = [](QWidget*, std::uint32_t current) {
    return std::optional<std::uint32_t>(current);
  };
  environment.instanceName = harness.instanceName;
  environment.programFolder = harness.programFolder();
  return environment;
}

std::optional<int> ProgramHarness::Start(QStringList arguments) {
  app_ = std::make_unique<ui::COrvaneApp>(EnvironmentFor(*this));
  arguments.prepend(QStringLiteral("--nosplash"));
  return app_->Start(arguments);
}

bool ProgramHarness::WaitFor(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

bool ProgramHarness::Ended() const {
  return app_->mainFrame() == nullptr || !app_->mainFrame()->isVisible();
}

QMdiSubWindow* ProgramHarness::SubWindowTitled(const QString& prefix) {
  for (QMdiSubWindow* sub : frame().area().subWindowList()) {
    if (sub->windowTitle().startsWith(prefix)) return sub;
  }
  return nullptr;
}

}  // namespace orvane::testing
