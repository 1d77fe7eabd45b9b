// What the orvane-cli commands that run the analyzer share: the --seconds
// and --lin options, Ctrl+C handling, message boxes as lines on stderr, the
// firmware update without a dialog, opening the analyzer, downloading the
// settings, and printing the monitored records as log lines on stdout while
// they arrive.
//
// Threads: the command's main thread, except TerminalMessages, which the
// acquisition thread may use too.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <CLI/CLI.hpp>

#include "analyzer/AnalyzerIdentity.h"
#include "analyzer/LinkApi.h"
#include "analyzer/RegisterMap.h"
#include "settings/IdentifierDefinition.h"
#include "settings/OptionSettings.h"
#include "monitor/LogWriter.h"
#include "monitor/MessageSink.h"
#include "monitor/MonitorState.h"

namespace orvane::cli {

// Ctrl+C and SIGTERM set a flag instead of ending the process.
void CatchInterrupts();
bool Interrupted();

// --seconds N: stop after N seconds (N at least 1) rather than at Ctrl+C.
void AddSecondsOption(CLI::App& command, std::optional<int>& seconds);
// --lin 1.3|2.0: the LIN revision written to the analyzer.
void AddLinOption(CLI::App& command, std::uint32_t& linRevision);

// Message boxes become "<caption>: <text>" lines on stderr; questions are
// answered OK. Boxes are shown while `canShow` says so (always by default).
class TerminalMessages final : public monitor::MessageSink {
 public:
  explicit TerminalMessages(std::function<bool()> canShow = [] { return true; })
      : canShow_(std::move(canShow)) {}

  bool CanShow() const override { return canShow_(); }
  monitor::MessageAnswer Show(const monitor::MessageBoxRequest& request) override;

 private:
  std::function<bool()> canShow_;
};

class TerminalAnalyzer;

// The start that `monitor` and `run` share: the reason when the link library
// could not be bound (exit 2), Ctrl+C caught otherwise. Returns the exit code
// to end with, or nothing when the command goes on.
std::optional<int> BeginAnalyzerCommand(std::string_view command,
                                        const TerminalAnalyzer& connection);

inline constexpr char kCannotOpenAnalyzerText[] =
    "cannot open the analyzer (is one attached, or ORLINK_DEVICE set?)";

// The analyzer as a command uses it: liborlink.so bound from the program's
// folder, and a register map over it that really sleeps.
class TerminalAnalyzer {
 public:
  // Binds the link library; Bound() and BindError() tell how it went.
  TerminalAnalyzer();
  // Once opened: MonitorStop and CloseUSB.
  ~TerminalAnalyzer();
  TerminalAnalyzer(const TerminalAnalyzer&) = delete;
  TerminalAnalyzer& operator=(const TerminalAnalyzer&) = delete;

  bool Bound() const { return binding_.api.has_value(); }
  const std::string& BindError() const { return binding_.error; }

  // Opens the analyzer as the program does at start-up; a firmware that
  // does not match is updated on the terminal (Ctrl+C cancels the
  // download). Says which analyzer was opened on stderr. False, with the
  // link closed again, when it cannot be opened.
  bool Open(monitor::MessageSink& messages);

  const analyzer::LinkApi& link() const { return *binding_.api; }
  const analyzer::RegisterMap& map() const { return *map_; }
  // Serial number and firmware of the opened analyzer.
  const analyzer::AnalyzerIdentity& identity() const { return identity_; }

 private:
  analyzer::LinkBinding binding_;
  analyzer::AnalyzerIdentity identity_;
  std::optional<analyzer::RegisterMap> map_;
  bool opened_ = false;
};

// Frame parameters, length table and LIN revision, as after start-up;
// message 102 and false when a write fails.
bool DownloadSettings(const analyzer::RegisterMap& map, settings::OptionSettings& options,
                      const settings::OptionSettingsExt& extension,
                      const settings::IdentifierDefinition& identifiers, std::uint32_t linRevision,
                      monitor::MessageSink& messages);

// Counts what was printed: records, complete frames and errors.
struct Summary {
  std::uint64_t records = 0;
  std::uint64_t frames = 0;
  std::uint64_t errors = 0;

  void Count(const monitor::MonitorRecord& record);
  // "records N, frames N, errors N" on stderr.
  void Print() const;

 private:
  int groupRecordsLeft_ = 0;
};

// Prints the MonitorBuffer records that arrived since the last call as log
// lines on stdout, with LF line ends. The ring is followed by its write
// index; far fewer than a ring's worth of records arrive between two calls.
class RecordPrinter {
 public:
  RecordPrinter(const monitor::MonitorRing& ring, monitor::LogFormat format);

  void PrintNew();

  Summary summary;
  // Also given each record printed, when set.
  std::function<void(const monitor::MonitorRecord&)> onRecord;

 private:
  const monitor::MonitorRing& ring_;
  monitor::LogSequenceWriter writer_;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> out_;
  std::uint32_t next_ = 0;
};

}  // namespace orvane::cli
