// Loading the source of the pattern editor, and converting a log file into
// a pattern file.
//
// Both run on a worker thread while a dialog (or a terminal) watches the
// progress: the worker is the only writer of the counters and the loading
// flag of ConversionProgress, any other thread may read them at any time
// without a lock, and the watcher may ask the worker to stop through
// cancelRequested. The functions block on file I/O and hold no lock
// themselves.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::pattern {

inline constexpr std::string_view kNowLoadingText = "Now Loading...";

struct ConversionProgress {
  // 1 while a worker is loading or converting.
  std::atomic<bool> loading{false};
  // Bytes of the source consumed so far, and the source's size.
  std::atomic<std::uint64_t> bytesRead{0};
  std::atomic<std::uint64_t> totalBytes{0};
  // Set by the watcher to stop the worker after the chunk in hand; the call
  // then returns kCancelled. The functions never clear it: whoever starts a
  // worker clears it first, so that a request made before the worker got
  // going is not lost.
  std::atomic<bool> cancelRequested{false};
};

// "Now Loading...  <read/1000>/<total/1000>[KB]".
std::string LoadingText(const ConversionProgress& progress);

// The pattern file proposed for a source: the source itself when it ends in
// ".ptn" (any case), otherwise the source without its extension followed by
// "_out.ptn" ("trace.log" gives "trace_out.ptn").
std::string PatternOutputName(std::string_view sourcePath);

// True when the name ends in "log" (any case); such a source is converted,
// any other is taken as pattern text unchanged.
bool IsLogSource(std::string_view sourcePath);

enum class PatternSourceStatus {
  kOk,
  // The source cannot be read: "Log File Open Error." for a log, else
  // "Pattern File Open Error.".
  kSourceError,
  // A log with nothing after its header: "Log File Open Error." (shown
  // titled "Log File"), the result is empty.
  kLogEmpty,
  // The output cannot be written: "Pattern File Open Error."; an existing
  // output file is left as it was.
  kOutputError,
  // Stopped through ConversionProgress::cancelRequested; no message, no
  // text, and no output file is created or changed.
  kCancelled,
};

struct PatternSourceResult {
  PatternSourceStatus status = PatternSourceStatus::kOk;
  std::string message;
  // The editor text (LoadPatternSource only).
  std::string text;
  // Pattern lines made from a log; 0 for a source taken unchanged.
  std::size_t patternLines = 0;

  bool ok() const { return status == PatternSourceStatus::kOk; }
};

// Reads a source for the editor: a log is converted, anything else is
// returned unchanged. Text that starts with a UTF-16 byte-order mark is
// decoded to 8-bit text first ('?' for characters outside Latin-1).
// Sets `progress.loading` for its whole run and clears it before returning.
PatternSourceResult LoadPatternSource(const std::filesystem::path& source,
                                      std::optional<std::uint8_t> filterIdent,
                                      ConversionProgress& progress);

// Streams a source through the same conversion into `output`. The output is
// first written beside it under a temporary name and then renamed over it,
// so a failure never leaves a truncated file and `output` may be the source.
PatternSourceResult ConvertToPatternFile(const std::filesystem::path& source,
                                         std::optional<std::uint8_t> filterIdent,
                                         const std::filesystem::path& output,
                                         ConversionProgress& progress);

}  // namespace orvane::pattern
