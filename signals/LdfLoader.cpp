#include "signals/LdfLoader.h"

#include <filesystem>
#include <fstream>
#include <new>
#include <system_error>

#include "signals/LdfMessages.h"

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
                         std::unique_ptr<LinDescription>& parsed) {
  int messageId = 0;
  const std::optional<std::string> text = ReadLdfFile(path, messageId);
  if (!text) return {LoadResult::kFailed, messageId, {}};
  ParseOutcome outcome = ParseLinDescription(*text, sectionMask);
  if (!outcome.description) {
    return {LoadResult::kFailed, outcome.messageId, std::move(outcome.failedCheck)};
  }
  parsed = std::move(outcome.description);
  return {LoadResult::kLoaded, 0, {}};
}

}  // namespace

std::optional<std::string> ReadLdfFile(const std::string& path, int& messageId) {
  messageId = kMsgReadFailed;
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return std::nullopt;
  if (size > kMaxLdfFileBytes) {
    messageId = kMsgOutOfMemory;
    return std::nullopt;
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  try {
    // Reads no more than the size seen above, even if the file grows meanwhile.
    std::string text(static_cast<std::size_t>(size), '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (file.bad()) return std::nullopt;
    text.resize(static_cast<std::size_t>(file.gcount()));
    messageId = 0;
    return text;
  } catch (const std::bad_alloc&) {
    messageId = kMsgOutOfMemory;
    return std::nullopt;
  }
}

LoadOutcome Load(std::string& path, LoadPrompt* prompt, std::uint32_t sectionMask,
                 std::unique_ptr<LinDescription>& description) {
  std::string chosen = path;
  if (prompt != nullptr) {
    std::optional<std::string> answer = prompt->ChooseFile(
        LdfMessageText(kMsgOpenDialogTitle), LdfMessageText(kMsgOpenDialogFilter), path);
    if (!answer) return {LoadResult::kCancelled, 0, {}};
    chosen = std::move(*answer);
  }
  std::unique_ptr<LinDescription> parsed;
  LoadOutcome outcome;
  {
    const BusyScope busy(prompt);
    outcome = ReadAndParse(chosen, sectionMask, parsed);
  }
  if (outcome.result != LoadResult::kLoaded) {
    if (prompt != nullptr) prompt->ShowFailure(outcome.messageId, LdfMessageText(outcome.messageId));
    return outcome;
  }
  description = std::move(parsed);
  path = std::move(chosen);
  return outcome;
}

void Free(std::unique_ptr<LinDescription>& description) { description.reset(); }

}  // namespace orvane::signals
