#include "pattern/PatternSource.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <functional>

#include "pattern/LogToPattern.h"
#include "pattern/SourceTextDecoder.h"

namespace orvane::pattern {
namespace {

constexpr std::size_t kChunkSize = 64 * 1024;
constexpr std::string_view kLogOpenError = "Log File Open Error.";
constexpr std::string_view kPatternOpenError = "Pattern File Open Error.";

bool EndsWithIgnoringCase(std::string_view text, std::string_view upperSuffix) {
  if (text.size() < upperSuffix.size()) return false;
  return std::ranges::equal(
      text.substr(text.size() - upperSuffix.size()), upperSuffix,
      [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; });
}

// Keeps `loading` set for the lifetime of one worker call.
class LoadingGuard {
 public:
  explicit LoadingGuard(ConversionProgress& progress) : progress_(progress) {
    progress_.loading = true;
  }
  ~LoadingGuard() { progress_.loading = false; }
  LoadingGuard(const LoadingGuard&) = delete;
  LoadingGuard& operator=(const LoadingGuard&) = delete;

 private:
  ConversionProgress& progress_;
};

PatternSourceResult Failure(PatternSourceStatus status, std::string_view message) {
  return {status, std::string(message), {}, 0};
}

// Reads `source` chunk by chunk, converts it when it is a log, and hands the
// resulting text to `write`, which returns false when it cannot take it.
PatternSourceResult Transform(const std::filesystem::path& source,
                              std::optional<std::uint8_t> filterIdent, ConversionProgress& progress,
                              const std::function<bool(std::string_view)>& write) {
  const std::string sourceName = source.string();
  const bool isLog = IsLogSource(sourceName);
  const std::string_view openError = isLog ? kLogOpenError : kPatternOpenError;

  std::error_code error;
  if (std::filesystem::is_directory(source, error)) {
    return Failure(PatternSourceStatus::kSourceError, openError);
  }
  std::ifstream in(source, std::ios::binary);
  if (!in) return Failure(PatternSourceStatus::kSourceError, openError);
  const std::uintmax_t size = std::filesystem::file_size(source, error);
  progress.totalBytes = error ? 0 : size;
  progress.bytesRead = 0;

  SourceTextDecoder decoder;
  LogToPatternConverter converter(filterIdent);
  std::array<char, kChunkSize> buffer;
  std::string text;
  std::string converted;
  const auto pass = [&](bool last) {
    if (last) decoder.Finish(text);
    if (!isLog) return write(text);
    converter.Feed(text, converted);
    if (last) converter.Finish(converted);
    const bool written = write(converted);
    converted.clear();
    return written;
  };
  while (in) {
    in.read(buffer.data(), buffer.size());
    const auto got = static_cast<std::size_t>(in.gcount());
    text.clear();
    decoder.Feed(std::string_view(buffer.data(), got), text);
    if (!pass(false)) return Failure(PatternSourceStatus::kOutputError, kPatternOpenError);
    progress.bytesRead += got;
    // Checked after the last chunk too: a request made while it was read
    // still stops the call.
    if (progress.cancelRequested) return Failure(PatternSourceStatus::kCancelled, {});
  }
  if (in.bad()) return Failure(PatternSourceStatus::kSourceError, openError);
  text.clear();
  if (!pass(true)) return Failure(PatternSourceStatus::kOutputError, kPatternOpenError);
  if (isLog && !converter.hadContent()) {
    return Failure(PatternSourceStatus::kLogEmpty, kLogOpenError);
  }
  return {PatternSourceStatus::kOk, {}, {}, isLog ? converter.linesWritten() : 0};
}

}  // namespace

std::string LoadingText(const ConversionProgress& progress) {
  return std::string(kNowLoadingText) + "  " + std::to_string(progress.bytesRead / 1000) + "/" +
         std::to_string(progress.totalBytes / 1000) + "[KB]";
}

std::string PatternOutputName(std::string_view sourcePath) {
  if (EndsWithIgnoringCase(sourcePath, ".PTN")) return std::string(sourcePath);
  std::filesystem::path output(sourcePath);
  output.replace_extension();
  output += "_out.ptn";
  return output.string();
}

bool IsLogSource(std::string_view sourcePath) {
  return EndsWithIgnoringCase(sourcePath, "LOG");
}

PatternSourceResult LoadPatternSource(const std::filesystem::path& source,
                                      std::optional<std::uint8_t> filterIdent,
                                      ConversionProgress& progress) {
  LoadingGuard guard(progress);
  std::string text;
  PatternSourceResult result = Transform(source, filterIdent, progress, [&](std::string_view part) {
    text += part;
    return true;
  });
  if (result.ok()) result.text = std::move(text);
  return result;
}

PatternSourceResult ConvertToPatternFile(const std::filesystem::path& source,
                                         std::optional<std::uint8_t> filterIdent,
                                         const std::filesystem::path& output,
                                         ConversionProgress& progress) {
  LoadingGuard guard(progress);
  std::filesystem::path temporary = output;
  temporary += ".part";
  PatternSourceResult result;
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return Failure(PatternSourceStatus::kOutputError, kPatternOpenError);
    result = Transform(source, filterIdent, progress, [&](std::string_view part) {
      out.write(part.data(), static_cast<std::streamsize>(part.size()));
      return static_cast<bool>(out);
    });
    out.close();
    if (result.ok() && !out) result = Failure(PatternSourceStatus::kOutputError, kPatternOpenError);
  }
  std::error_code error;
  if (result.ok()) {
    std::filesystem::rename(temporary, output, error);
    if (error) result = Failure(PatternSourceStatus::kOutputError, kPatternOpenError);
  }
  if (!result.ok()) std::filesystem::remove(temporary, error);
  return result;
}

}  // namespace orvane::pattern
