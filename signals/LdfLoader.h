// Loading a LIN description file into the caller's description, with or
// without asking the user (through LoadPrompt, which the GUI implements with
// an open-file dialog, a wait cursor and a stop-icon message box).
//
// Threads: the user-interface thread in the program; any single thread
// elsewhere. Blocks while the file is read and while the prompt waits for
// the user.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "signals/LdfParser.h"
#include "signals/LinDescription.h"

namespace orvane::signals {

// Files above this size are refused with 11112 before anything is read:
// real descriptions are far below it.
inline constexpr std::uintmax_t kMaxLdfFileBytes = 64u << 20;

enum class LoadResult : int { kLoaded = 0, kCancelled = 1, kFailed = 2 };

struct LoadOutcome {
  LoadResult result = LoadResult::kFailed;
  int messageId = 0;        // set when failed
  std::string failedCheck;  // see ParseOutcome, as are the next three
  int failedLine = 0;
  std::string failedSubject;
  bool relaxable = false;
  // Why the file could not be read ("cannot open PATH: No such file or
  // directory"); empty when it was read.
  std::string openProblem;
};

// The questions an interactive load asks.
class LoadPrompt {
 public:
  virtual ~LoadPrompt() = default;
  // Asks for the file to read, offering `current`; the dialog is titled
  // `title` and filters with `filter`. nullopt when the user cancels.
  virtual std::optional<std::string> ChooseFile(std::string_view title, std::string_view filter,
                                                const std::string& current) = 0;
  // Reports a failed load: the message id and its text.
  virtual void ShowFailure(int messageId, std::string_view text) = 0;
  // Reports a failed load with where it failed (`detail`, DescribeLoadFailure's
  // text; may be empty). With `offerRelaxed` the user may ask to load the
  // file again with relaxed rules: true when they do. By default the failure
  // goes to ShowFailure and nothing is offered.
  virtual bool ShowFailureDetail(int messageId, std::string_view text, std::string_view /*detail*/,
                                 bool /*offerRelaxed*/) {
    ShowFailure(messageId, text);
    return false;
  }
  // Called with true before the file is read and parsed, false afterwards.
  virtual void SetBusy(bool /*busy*/) {}
};

// Reads the whole file. nullopt and 11110 when it cannot be opened or read
// (missing, a folder, unreadable), 11112 when it is larger than
// kMaxLdfFileBytes; `problem`, when given, then says why.
std::optional<std::string> ReadLdfFile(const std::string& path, int& messageId,
                                       std::string* problem = nullptr);

// Interactive (prompt given): asks for the file first (cancel → kCancelled,
// nothing changes) and shows a failure through the prompt; when a strict
// load fails and a relaxed one would not, the prompt offers to load it
// relaxed and does so when the user agrees. Non-interactive (prompt null):
// reads `path` and fails silently. On success `description` is replaced and
// `path` names the file read; on failure both stay as they were.
LoadOutcome Load(std::string& path, LoadPrompt* prompt, std::uint32_t sectionMask,
                 std::unique_ptr<LinDescription>& description,
                 LdfStrictness strictness = LdfStrictness::kStrict);

// Releases a loaded description (the configuration load does this before it
// reads the stored one again).
void Free(std::unique_ptr<LinDescription>& description);

}  // namespace orvane::signals
