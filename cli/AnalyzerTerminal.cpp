#include "cli/AnalyzerTerminal.h"

#include <csignal>
#include <thread>
#include <utility>

#include "analyzer/FirmwareUpdateController.h"
#include "analyzer/OpenAnalyzer.h"
#include "app/Startup.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "monitor/MessageCatalogue.h"

namespace orvane::cli {
namespace {

constexpr std::int32_t kOptionSettingErrorMessage = 102;

volatile std::sig_atomic_t interrupted = 0;

extern "C" void OnInterrupt(int) {
  interrupted = 1;
}

// The firmware update without a dialog: the question is answered yes, the
// progress is shown on stderr, and Ctrl+C cancels the download.
class TerminalFirmwareUpdate final : public analyzer::FirmwareUpdatePrompt {
 public:
  TerminalFirmwareUpdate(const analyzer::RegisterMap& map, monitor::MessageSink& messages)
      : map_(map), messages_(messages) {}

  analyzer::FirmwareUpdateResult RunFirmwareUpdate(
      const analyzer::AnalyzerIdentity& identity) override {
    analyzer::FirmwareDownload download(map_, messages_);
    analyzer::FirmwareUpdateController dialog(download, identity, analyzer::ProgramFolder(),
                                              messages_);
    std::fprintf(stderr, "%s yes\n", dialog.Text().c_str());
    dialog.OnOk();
    while (!dialog.Finished()) {
      std::this_thread::sleep_for(analyzer::kFirmwareUpdateTimerPeriod);
      if (interrupted) {
        dialog.OnCancel();
        break;
      }
      dialog.OnTimer();
      std::fprintf(stderr, "\r%s %d/%d", dialog.Text().c_str(), dialog.ProgressValue(),
                   analyzer::kProgressRange);
    }
    download.Join();
    std::fprintf(stderr, "\n%s\n", dialog.Text().c_str());
    return *dialog.OnOk();
  }

 private:
  const analyzer::RegisterMap& map_;
  monitor::MessageSink& messages_;
};

// A FILE that passes text on to stdout with every CR LF turned into LF.
std::FILE* OpenLfStdout() {
  static bool pendingCarriageReturn = false;
  cookie_io_functions_t functions{};
  functions.write = [](void*, const char* bytes, std::size_t size) -> ssize_t {
    for (std::size_t i = 0; i < size; ++i) {
      if (pendingCarriageReturn && bytes[i] != '\n') std::fputc('\r', stdout);
      pendingCarriageReturn = bytes[i] == '\r';
      if (!pendingCarriageReturn) std::fputc(bytes[i], stdout);
    }
    return static_cast<ssize_t>(size);
  };
  return fopencookie(nullptr, "w", functions);
}

}  // namespace

void CatchInterrupts() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool Interrupted() {
  return interrupted != 0;
}

void AddSecondsOption(CLI::App& command, std::optional<int>& seconds) {
  command
      .add_option_function<int>(
          "--seconds", [&seconds](const int& value) { seconds = value; },
          "stop after N seconds (default: at Ctrl+C)")
      ->transform(NumberFrom(1))
      ->type_name("N");
}

void AddLinOption(CLI::App& command, std::uint32_t& linRevision) {
  AddChoiceOption<std::uint32_t>(command, "--lin", linRevision,
                                 {{"1.3", settings::kLin13}, {"2.0", settings::kLin20}},
                                 "LIN revision written to the analyzer (default 1.3)");
}

std::optional<int> BeginAnalyzerCommand(std::string_view command,
                                        const TerminalAnalyzer& connection) {
  if (!connection.Bound()) return Fail(command, connection.BindError());
  CatchInterrupts();
  return std::nullopt;
}

monitor::MessageAnswer TerminalMessages::Show(const monitor::MessageBoxRequest& request) {
  std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(request.caption.size()),
               request.caption.data(), static_cast<int>(request.text.size()), request.text.data());
  return monitor::MessageAnswer::kOk;
}

TerminalAnalyzer::TerminalAnalyzer()
    : binding_(analyzer::BindLinkLibrary(analyzer::ProgramFolder())) {
  if (binding_.api) map_.emplace(*binding_.api, analyzer::RealSleep());
}

TerminalAnalyzer::~TerminalAnalyzer() {
  if (!opened_) return;
  link().MonitorStop();
  link().CloseUSB();
}

bool TerminalAnalyzer::Open(monitor::MessageSink& messages) {
  TerminalFirmwareUpdate firmwareUpdate(*map_, messages);
  analyzer::OpenAnalyzerUi ui{firmwareUpdate, messages, [] {}};
  if (!analyzer::OpenAnalyzer(*map_, identity_, {}, ui)) {
    link().CloseUSB();
    return false;
  }
  opened_ = true;
  std::fprintf(stderr, "Analyzer %s, firmware %s\n", identity_.serialNumber,
               identity_.firmwareVersion);
  return true;
}

bool DownloadSettings(const analyzer::RegisterMap& map, settings::OptionSettings& options,
                      const settings::OptionSettingsExt& extension,
                      const settings::IdentifierDefinition& identifiers, std::uint32_t linRevision,
                      monitor::MessageSink& messages) {
  if (app::DownloadSettings(map, options, extension, identifiers, linRevision)) return true;
  monitor::ShowErrorMessage(messages, kOptionSettingErrorMessage);
  return false;
}

void Summary::Count(const monitor::MonitorRecord& record) {
  ++records;
  if (groupRecordsLeft_ > 0) {  // data of an extended frame
    --groupRecordsLeft_;
    return;
  }
  groupRecordsLeft_ = record.IsExtendedHeader() ? record.GroupSize() - 1 : 0;
  if (record.kind == monitor::kKindEnd) ++frames;
  if (record.error != monitor::kErrorNone) ++errors;
}

void Summary::Print() const {
  std::fprintf(stderr, "records %llu, frames %llu, errors %llu\n",
               static_cast<unsigned long long>(records), static_cast<unsigned long long>(frames),
               static_cast<unsigned long long>(errors));
}

RecordPrinter::RecordPrinter(const monitor::MonitorRing& ring, monitor::LogFormat format)
    : ring_(ring), writer_(std::move(format)), out_(OpenLfStdout(), std::fclose) {}

void RecordPrinter::PrintNew() {
  const std::uint32_t writeIndex = ring_.Snapshot().writeIndex;
  const auto records = ring_.Records();
  for (; next_ != writeIndex; next_ = (next_ + 1) % ring_.Capacity()) {
    writer_.Write(out_.get(), records[next_]);
    summary.Count(records[next_]);
    if (onRecord) onRecord(records[next_]);
  }
  std::fflush(out_.get());
  std::fflush(stdout);
}

}  // namespace orvane::cli
