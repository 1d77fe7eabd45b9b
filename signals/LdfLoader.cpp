#include "signals/LdfLoader.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <system_error>

#include "signals/LdfMessages.h"
#include "signals/LdfReport.h"

namespace orvane::signals {
namespace {

// Keeps the prompt's busy indication on for one scope.
class BusyScope {
 public:
  explicit BusyScope(LoadPrompt* prompt) : prompt_(prompt) {
    if (prompt_ != nullptr) prompt_->SetBusy(true);
  }
  ~BusyScope() {
    if (prompt_ != nullptr) prompt_->SetBusy(false);
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  LoadPrompt* prompt_;
};

LoadOutcome ReadAndParse(const std::string& path, std::uint32_t sectionMask,
                         LdfStrictness strictness, std::unique_ptr<LinDescription>& parsed) {
  LoadOutcome outcome;
  const std::optional<std::string> text =
      ReadLdfFile(path, outcome.messageId, &outcome.openProblem);
  if (!text) return outcome;
  ParseOutcome parse = ParseLinDescription(*text, sectionMask, strictness);
  if (!parse.description) {
    outcome.messageId = parse.messageId;
    outcome.failedCheck = std::move(parse.failedCheck);
    outcome.failedLine = parse.failedLine;
    outcome.failedSubject = std::move(parse.failedSubject);
    outcome.relaxable = parse.relaxable;
    return outcome;
  }
  parsed = std::move(parse.description);
  outcome.result = LoadResult::kLoaded;
  return outcome;
}

// Sets `problem`, when given, to "<verb> PATH: <why>".
void Tell(std::string* problem, std::string_view verb, const std::string& path,
          std::string_view why) {
  if (problem != nullptr) *problem = std::string(verb) + " " + path + ": " + std::string(why);
}

bool ShowFailure(LoadPrompt& prompt, const LoadOutcome& outcome, bool offerRelaxed) {
  return prompt.ShowFailureDetail(outcome.messageId, LdfMessageText(outcome.messageId),
                                  DescribeLoadFailure(outcome), offerRelaxed);
}

}  // namespace

std::optional<std::string> ReadLdfFile(const std::string& path, int& messageId,
                                       std::string* problem) {
  messageId = kMsgReadFailed;
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    Tell(problem, "cannot open", path, "Is a directory");
    return std::nullopt;
  }
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) {
    Tell(problem, "cannot open", path, error.message());
    return std::nullopt;
  }
  if (size > kMaxLdfFileBytes) {
    messageId = kMsgOutOfMemory;
    Tell(problem, "cannot open", path,
         std::to_string(size) + " bytes, more than the " + std::to_string(kMaxLdfFileBytes) +
             " a description may have");
    return std::nullopt;
  }
  errno = 0;
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    Tell(problem, "cannot open", path, errno != 0 ? std::strerror(errno) : "cannot be opened");
    return std::nullopt;
  }
  try {
    // Reads no more than the size seen above, even if the file grows meanwhile.
    std::string text(static_cast<std::size_t>(size), '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (file.bad()) {
      Tell(problem, "cannot read", path, errno != 0 ? std::strerror(errno) : "read error");
      return std::nullopt;
    }
    text.resize(static_cast<std::size_t>(file.gcount()));
    messageId = 0;
    return text;
  } catch (const std::bad_alloc&) {
    messageId = kMsgOutOfMemory;
    Tell(problem, "cannot read", path, "not enough memory");
    return std::nullopt;
  }
}

LoadOutcome Load(std::string& path, LoadPrompt* prompt, std::uint32_t sectionMask,
                 std::unique_ptr<LinDescription>& description, LdfStrictness strictness) {
  std::string chosen = path;
  if (prompt != nullptr) {
    std::optional<std::string> answer = prompt->ChooseFile(
        LdfMessageText(kMsgOpenDialogTitle), LdfMessageText(kMsgOpenDialogFilter), path);
    if (!answer) {
      LoadOutcome cancelled;
      cancelled.result = LoadResult::kCancelled;
      return cancelled;
    }
    chosen = std::move(*answer);
  }
  std::unique_ptr<LinDescription> parsed;
  LoadOutcome outcome;
  {
    const BusyScope busy(prompt);
    outcome = ReadAndParse(chosen, sectionMask, strictness, parsed);
  }
  if (outcome.result != LoadResult::kLoaded && prompt != nullptr) {
    const bool offer = strictness == LdfStrictness::kStrict && outcome.relaxable;
    if (ShowFailure(*prompt, outcome, offer) && offer) {
      {
        const BusyScope busy(prompt);
        outcome = ReadAndParse(chosen, sectionMask, LdfStrictness::kRelaxed, parsed);
      }
      if (outcome.result != LoadResult::kLoaded) ShowFailure(*prompt, outcome, false);
    }
  }
  if (outcome.result != LoadResult::kLoaded) return outcome;
  description = std::move(parsed);
  path = std::move(chosen);
  return outcome;
}

void Free(std::unique_ptr<LinDescription>& description) {
  description.reset();
}

}  // namespace orvane::signals
