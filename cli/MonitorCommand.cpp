// orvane-cli monitor: monitors the bus like the program's Start and Stop.
//
// Binds liborlink.so from the program's folder, opens the analyzer (with a
// firmware update on the terminal when its firmware does not match), writes
// the frame parameters, length table and LIN revision, starts monitoring and
// prints every record as its log line while it arrives. Ctrl+C (or the
// --seconds limit) stops with the program's drain rule, so records still
// buffered in the analyzer are printed too. A summary line follows on stderr.
//
// stdout carries nothing but log lines, with LF line ends (text on a
// terminal or in a pipe); the --log file is the live log exactly as the
// program writes it: the header line, then the same lines with CR LF ends.
// The --pcapng file is a Wireshark capture of link type LIN with the
// analyzer's serial number and firmware and the wall time at which
// monitoring started; each block is flushed as it is written, so the file is
// valid up to its last record after Ctrl+C, a lost analyzer or a crash.
// Messages, the firmware update and the summary go to stderr.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "analyzer/Acquisition.h"
#include "analyzer/LinkApi.h"
#include "analyzer/MonitorSession.h"
#include "analyzer/RegisterMap.h"
#include "app/AppContext.h"
#include "settings/BaudRateTable.h"
#include "settings/IdentifierDefinition.h"
#include "settings/OptionSettings.h"
#include "cli/AnalyzerTerminal.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "monitor/MonitorState.h"
#include "review/PcapngWriter.h"

namespace orvane::cli {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

constexpr milliseconds kPrintPeriod{50};

struct Options {
  std::optional<int> seconds;
  std::string logPath;
  std::string pcapngPath;
  std::uint8_t baudRateCode = settings::kDefaultBaudRateCode;
  std::uint32_t linRevision = settings::kLin13;
};

// The baud-rate code `text` names: a code of the analyzer as it stands, or a
// bit rate the analyzer supports (all of them above the largest code).
std::optional<std::uint8_t> BaudRateCode(std::string_view text) {
  const std::optional<long> number = DecimalNumber(text);
  if (!number) return std::nullopt;
  if (*number < static_cast<long>(settings::kBaudRates.size())) {
    return static_cast<std::uint8_t>(*number);
  }
  const auto rate = std::ranges::find(settings::kBaudRates, static_cast<std::uint32_t>(*number),
                                      &settings::BaudRate::bitsPerSecond);
  if (rate == settings::kBaudRates.end()) return std::nullopt;
  return static_cast<std::uint8_t>(rate - settings::kBaudRates.begin());
}

// The codes with their bit rates for the help, seven to a line:
// "Baud-rate codes (bit/s):\n  0 = 500, 1 = 1000, ...".
std::string BaudRateCodeTable() {
  constexpr std::size_t kPerLine = 7;
  std::string text = "Baud-rate codes (bit/s):";
  for (std::size_t code = 0; code < settings::kBaudRates.size(); ++code) {
    text += (code % kPerLine == 0 ? "\n  " : ", ") + std::to_string(code) + " = " +
            std::to_string(settings::kBaudRates[code].bitsPerSecond);
  }
  return text;
}

void AddBaudOption(CLI::App& monitor, std::uint8_t& baudRateCode) {
  const std::string codes = "0-" + std::to_string(settings::kBaudRates.size() - 1);
  const settings::BaudRate& byDefault = settings::kBaudRates[settings::kDefaultBaudRateCode];
  monitor
      .add_option_function<std::string>(
          "--baud",
          [&baudRateCode, codes](const std::string& text) {
            const std::optional<std::uint8_t> code = BaudRateCode(text);
            if (!code) {
              throw CLI::ValidationError("--baud", "'" + text + "' is neither a baud-rate code " +
                                                       codes +
                                                       " nor a bit rate the analyzer supports");
            }
            baudRateCode = *code;
          },
          "baud-rate code " + codes + ", or its bit rate (default " +
              std::to_string(settings::kDefaultBaudRateCode) + ", " +
              std::to_string(byDefault.bitsPerSecond) + " bit/s)")
      ->type_name("CODE|RATE");
  monitor.footer(BaudRateCodeTable());
}

int Fail(std::string_view message) { return cli::Fail("monitor", message); }

using CaptureFile = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

std::int64_t WallMillisecondsNow() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

// Monitors until Ctrl+C, the time limit or an acquisition failure, then
// stops with the drain rule. Returns the acquisition's error code, or -1
// when the capture could not be written.
int Monitor(const analyzer::LinkApi& link, const Options& options,
            const settings::IdentifierDefinition& definition,
            const settings::OptionSettingsExt& extension, review::RecordingSource source,
            std::FILE* capture, monitor::MessageSink& messages) {
  const auto state = std::make_unique<monitor::MonitorState>();
  analyzer::Acquisition acquisition(link, *state, messages);
  analyzer::MonitorSession session(link, *state, acquisition, messages);

  analyzer::AcquisitionSettings settings;
  settings.loggingEnabled = !options.logPath.empty();
  settings.logPath = options.logPath;
  settings.logFormat = app::MakeLogFormat(definition, extension, "IDEN", "HEX");
  // The analyzer counts its time from the start of monitoring.
  source.startUnixMilliseconds = WallMillisecondsNow();
  if (!session.Start(settings)) return -1;

  RecordPrinter printer(state->MonitorBuffer, settings.logFormat);
  std::optional<review::PcapngWriter> pcapng;
  if (capture != nullptr) {
    pcapng.emplace(capture, settings.logFormat, true);
    pcapng->Begin(source);
    printer.onRecord = [&pcapng](const monitor::MonitorRecord& record) { pcapng->Write(record); };
  }
  const auto deadline = options.seconds
                            ? steady_clock::now() + std::chrono::seconds(*options.seconds)
                            : steady_clock::time_point::max();
  while (!Interrupted() && steady_clock::now() < deadline && acquisition.Running()) {
    std::this_thread::sleep_for(kPrintPeriod);
    printer.PrintNew();
  }

  session.RequestStop();
  while (!session.OnStopTick()) {
    std::this_thread::sleep_for(analyzer::kStopTickPeriod);
    printer.PrintNew();
  }
  acquisition.Join();
  printer.PrintNew();
  printer.summary.Print();
  if (pcapng) {
    pcapng->Finish();
    if (!pcapng->Ok()) {
      Fail("cannot write " + options.pcapngPath);
      return -1;
    }
  }
  return acquisition.LastErrorCode();
}

int RunMonitor(const Options& options) {
  TerminalAnalyzer connection;
  if (const auto exitCode = BeginAnalyzerCommand("monitor", connection)) return *exitCode;

  TerminalMessages messages;
  if (!connection.Open(messages)) return Fail(kCannotOpenAnalyzerText);

  settings::OptionSettings optionSettings = settings::DefaultOptionSettings();
  optionSettings.BaudRateCode = options.baudRateCode;
  const settings::OptionSettingsExt extension = settings::DefaultOptionSettingsExt();
  settings::IdentifierDefinition definition;
  settings::SetIdentifierDefaults(definition);
  if (!DownloadSettings(connection.map(), optionSettings, extension, definition,
                        options.linRevision, messages)) {
    return 2;
  }
  CaptureFile capture(nullptr, std::fclose);
  if (!options.pcapngPath.empty()) {
    capture.reset(std::fopen(options.pcapngPath.c_str(), "wb"));
    if (!capture) return Fail("cannot create " + options.pcapngPath);
  }
  const analyzer::AnalyzerIdentity& identity = connection.identity();
  const review::RecordingSource source{identity.firmwareName, identity.serialNumber,
                                       identity.firmwareVersion, std::nullopt};
  const int error =
      Monitor(connection.link(), options, definition, extension, source, capture.get(), messages);
  return error == 0 ? 0 : 2;
}

}  // namespace

void AddMonitor(CommandLine& commandLine) {
  CLI::App& monitor = commandLine.AddCommand(commandLine.root(), "monitor",
                                             "print every record on the bus as its log line");
  const auto options = std::make_shared<Options>();
  AddSecondsOption(monitor, options->seconds);
  monitor.add_option("--log", options->logPath, "also write the live log to FILE")
      ->check(NotEmpty())
      ->type_name("FILE");
  monitor
      .add_option("--pcapng", options->pcapngPath,
                  "also write a Wireshark capture (pcapng, link type LIN) to FILE")
      ->check(NotEmpty())
      ->type_name("FILE");
  AddBaudOption(monitor, options->baudRateCode);
  AddLinOption(monitor, options->linRevision);
  commandLine.RunsWhenChosen(monitor, [options] { return RunMonitor(*options); });
}

}  // namespace orvane::cli
