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
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "analyzer/Acquisition.h"
#include "analyzer/FirmwareUpdateController.h"
#include "analyzer/LinkApi.h"
#include "analyzer/MonitorSession.h"
#include "analyzer/OpenAnalyzer.h"
#include "analyzer/RegisterMap.h"
#include "app/settings/IdentifierDefinition.h"
#include "app/settings/OptionSettings.h"
#include "cli/Commands.h"
#include "monitor/LogWriter.h"
#include "monitor/MessageCatalogue.h"
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
constexpr std::int32_t kOptionSettingErrorMessage = 102;

volatile std::sig_atomic_t interrupted = 0;

extern "C" void OnInterrupt(int) {
  interrupted = 1;
}

struct Options {
  std::optional<int> seconds;
  std::string logPath;
  std::uint8_t baudRateCode = settings::kDefaultBaudRateCode;
  std::uint32_t linRevision = 0;
};

std::optional<long> Number(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

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

// Message boxes become lines on stderr.
class TerminalMessages final : public monitor::MessageSink {
 public:
  bool CanShow() const override { return true; }
  monitor::MessageAnswer Show(const monitor::MessageBoxRequest& request) override {
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(request.caption.size()),
                 request.caption.data(), static_cast<int>(request.text.size()),
                 request.text.data());
    return monitor::MessageAnswer::kOk;
  }
};

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

struct Summary {
  std::uint64_t records = 0;
  std::uint64_t frames = 0;
  std::uint64_t errors = 0;

  void Count(const monitor::MonitorRecord& record) {
    ++records;
    if (groupRecordsLeft_ > 0) {  // data of an extended frame
      --groupRecordsLeft_;
      return;
    }
    groupRecordsLeft_ = record.IsExtendedHeader() ? record.GroupSize() - 1 : 0;
    if (record.kind == monitor::kKindEnd) ++frames;
    if (record.error != monitor::kErrorNone) ++errors;
  }

 private:
  int groupRecordsLeft_ = 0;
};

// Prints the MonitorBuffer records that arrived since the last call. The
// ring is followed by its write index; far fewer than a ring's worth of
// records arrive between two calls.
class RecordPrinter {
 public:
  RecordPrinter(const monitor::MonitorRing& ring, monitor::LogFormat format, std::FILE* out)
      : ring_(ring), writer_(std::move(format)), out_(out) {}

  void PrintNew() {
    const std::uint32_t writeIndex = ring_.Snapshot().writeIndex;
    const auto records = ring_.Records();
    for (; next_ != writeIndex; next_ = (next_ + 1) % monitor::MonitorCapacity) {
      writer_.Write(out_, records[next_]);
      summary.Count(records[next_]);
    }
    std::fflush(out_);
    std::fflush(stdout);
  }

  Summary summary;

 private:
  const monitor::MonitorRing& ring_;
  monitor::LogSequenceWriter writer_;
  std::FILE* out_;
  std::uint32_t next_ = 0;
};

monitor::LogFormat MakeLogFormat(const settings::IdentifierDefinition& definition,
                                 const settings::OptionSettingsExt& extension) {
  monitor::LogFormat format;
  std::copy(std::begin(definition.dataLength), std::end(definition.dataLength),
            format.dataLengths.begin());
  for (std::size_t channel = 0; channel < settings::kIoChannelCount; ++channel) {
    format.ioEventNames[2 * channel] = extension.IoChannels[channel].risingName;
    format.ioEventNames[2 * channel + 1] = extension.IoChannels[channel].fallingName;
  }
  return format;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "orvane-cli monitor: %s\n", message.c_str());
  return 2;
}

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
  settings.logFormat = MakeLogFormat(definition, extension);
  if (!session.Start(settings)) return -1;

  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(OpenLfStdout(), std::fclose);
  RecordPrinter printer(state->MonitorBuffer, settings.logFormat, out.get());
  const auto deadline = options.seconds
                            ? steady_clock::now() + std::chrono::seconds(*options.seconds)
                            : steady_clock::time_point::max();
  while (!interrupted && steady_clock::now() < deadline && acquisition.Running()) {
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
  std::fprintf(stderr, "records %llu, frames %llu, errors %llu\n",
               static_cast<unsigned long long>(printer.summary.records),
               static_cast<unsigned long long>(printer.summary.frames),
               static_cast<unsigned long long>(printer.summary.errors));
  return acquisition.LastErrorCode();
}

}  // namespace

int RunMonitor(Args args) {
  const std::optional<Options> options = ParseOptions(args);
  if (!options) {
    std::fputs(kUsage, stderr);
    return 1;
  }
  const analyzer::LinkBinding binding = analyzer::BindLinkLibrary(analyzer::ProgramFolder());
  if (!binding.api) return Fail(binding.error);
  const analyzer::LinkApi& link = *binding.api;

  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);

  TerminalMessages messages;
  const analyzer::RegisterMap map(link, analyzer::RealSleep());
  TerminalFirmwareUpdate firmwareUpdate(map, messages);
  analyzer::OpenAnalyzerUi ui{firmwareUpdate, messages, [] {}};
  analyzer::AnalyzerIdentity identity;
  if (!analyzer::OpenAnalyzer(map, identity, {}, ui)) {
    link.CloseUSB();
    return Fail("cannot open the analyzer (is one attached, or ORLINK_DEVICE set?)");
  }
  std::fprintf(stderr, "Analyzer %s, firmware %s\n", identity.serialNumber,
               identity.firmwareVersion);

  settings::OptionSettings optionSettings = settings::DefaultOptionSettings();
  optionSettings.BaudRateCode = options->baudRateCode;
  const settings::OptionSettingsExt extension = settings::DefaultOptionSettingsExt();
  settings::IdentifierDefinition definition;
  settings::SetIdentifierDefaults(definition);
  int result = 2;
  if (!map.WriteFrameParameters(optionSettings, extension) || !map.WriteLengthTable(definition) ||
      !map.WriteLinRevision(options->linRevision)) {
    monitor::ShowErrorMessage(messages, kOptionSettingErrorMessage);
  } else {
    result = Monitor(link, *options, definition, extension, messages) == 0 ? 0 : 2;
  }
  link.MonitorStop();
  link.CloseUSB();
  return result;
}

}  // namespace orvane::cli
