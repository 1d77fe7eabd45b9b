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
// Messages, the firmware update and the summary go to stderr.
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
#include "settings/IdentifierDefinition.h"
#include "settings/OptionSettings.h"
#include "cli/AnalyzerTerminal.h"
#include "cli/Commands.h"
#include "monitor/MonitorState.h"

namespace orvane::cli {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

constexpr char kUsage[] =
    "usage: orvane-cli monitor [--seconds N] [--log FILE] [--baud CODE] [--lin 1.3|2.0]\n"
    "  --seconds N   stop after N seconds (default: at Ctrl+C)\n"
    "  --log FILE    also write the live log to FILE\n"
    "  --baud CODE   baud-rate code 0-13 (default 11, 9600 bit/s)\n"
    "  --lin 1.3|2.0 LIN revision written to the analyzer (default 1.3)\n";
constexpr milliseconds kPrintPeriod{50};

struct Options {
  std::optional<int> seconds;
  std::string logPath;
  std::uint8_t baudRateCode = settings::kDefaultBaudRateCode;
  std::uint32_t linRevision = 0;
};

// Nothing on a usage error (the message is printed).
std::optional<Options> ParseOptions(Args args) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view name = args[i];
    if (i + 1 == args.size()) {
      std::fprintf(stderr, "orvane-cli monitor: %.*s needs a value\n",
                   static_cast<int>(name.size()), name.data());
      return std::nullopt;
    }
    const std::string_view value = args[++i];
    const std::optional<long> number = Number(value);
    if (name == "--seconds" && number && *number > 0) {
      options.seconds = static_cast<int>(*number);
    } else if (name == "--log" && !value.empty()) {
      options.logPath = value;
    } else if (name == "--baud" && number &&
               *number < static_cast<long>(settings::kBaudRates.size())) {
      options.baudRateCode = static_cast<std::uint8_t>(*number);
    } else if (name == "--lin" && (value == "1.3" || value == "2.0")) {
      options.linRevision = value == "2.0" ? 1 : 0;
    } else {
      std::fprintf(stderr, "orvane-cli monitor: bad option %.*s %.*s\n",
                   static_cast<int>(name.size()), name.data(), static_cast<int>(value.size()),
                   value.data());
      return std::nullopt;
    }
  }
  return options;
}

int Fail(std::string_view message) { return cli::Fail("monitor", message); }

// Monitors until Ctrl+C, the time limit or an acquisition failure, then
// stops with the drain rule. Returns the acquisition's error code.
int Monitor(const analyzer::LinkApi& link, const Options& options,
            const settings::IdentifierDefinition& definition,
            const settings::OptionSettingsExt& extension, monitor::MessageSink& messages) {
  const auto state = std::make_unique<monitor::MonitorState>();
  analyzer::Acquisition acquisition(link, *state, messages);
  analyzer::MonitorSession session(link, *state, acquisition, messages);

  analyzer::AcquisitionSettings settings;
  settings.loggingEnabled = !options.logPath.empty();
  settings.logPath = options.logPath;
  settings.programFolder = analyzer::ProgramFolder();
  settings.logFormat = app::MakeLogFormat(definition, extension, "IDEN", "HEX");
  if (!session.Start(settings)) return -1;

  RecordPrinter printer(state->MonitorBuffer, settings.logFormat);
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
  return acquisition.LastErrorCode();
}

}  // namespace

int RunMonitor(Args args) {
  const std::optional<Options> options = ParseOptions(args);
  TerminalAnalyzer connection;
  if (const auto exitCode = BeginAnalyzerCommand("monitor", options.has_value(), kUsage, connection)) {
    return *exitCode;
  }

  TerminalMessages messages;
  if (!connection.Open(messages)) return Fail(kCannotOpenAnalyzerText);

  settings::OptionSettings optionSettings = settings::DefaultOptionSettings();
  optionSettings.BaudRateCode = options->baudRateCode;
  const settings::OptionSettingsExt extension = settings::DefaultOptionSettingsExt();
  settings::IdentifierDefinition definition;
  settings::SetIdentifierDefaults(definition);
  if (!DownloadSettings(connection.map(), optionSettings, extension, definition,
                        options->linRevision, messages)) {
    return 2;
  }
  return Monitor(connection.link(), *options, definition, extension, messages) == 0 ? 0 : 2;
}

}  // namespace orvane::cli
