#include "review/MonitorLogReader.h"

#include <cerrno>
#include <exception>
#include <fstream>
#include <system_error>

#include "monitor/LogLayout.h"

namespace orvane::review {

namespace {

constexpr std::uint64_t kProgressStep = 64 * 1024;
// Ordinary lines are 82 characters with their line end: enough room for a
// log of them without growing the records.
constexpr std::size_t kShortestTypicalLine = 80;
constexpr std::string_view kNotALog =
    "is not a monitor log: its first line is neither the log's column header nor a log line.";

ReviewReadResult Cancelled() {
  ReviewReadResult result;
  result.cancelled = true;
  return result;
}

// Reads `size` bytes; false when they cannot be read or held in memory.
bool ReadWhole(std::ifstream& file, std::uintmax_t size, std::string& text) {
  try {
    text.resize(static_cast<std::size_t>(size));
  } catch (const std::exception&) {
    return false;
  }
  return static_cast<bool>(file.read(text.data(), static_cast<std::streamsize>(size)));
}

}  // namespace

ReviewReadResult ParseMonitorLog(std::string_view text, const ReadProgress& progress,
                                 const IoEventNames& ioEventNames) {
  ReviewReadResult result;
  std::vector<monitor::MonitorRecord>& records = result.review.records;
  std::vector<ReadProblem>& problems = result.review.problems;
  records.reserve(text.size() / kShortestTypicalLine);
  LogLineParser parser(ioEventNames);

  std::uint64_t nextReport = kProgressStep;
  std::uint64_t lineNumber = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    const bool lineEnded = end != std::string_view::npos;
    if (!lineEnded) end = text.size();
    std::string_view line = text.substr(at, end - at);
    if (lineEnded && line.ends_with('\r')) line.remove_suffix(1);
    at = lineEnded ? end + 1 : end;
    ++lineNumber;

    if (lineNumber != 1 || line != monitor::kLogHeaderText) {
      std::string reason = parser.Parse(line, lineNumber, lineEnded, records);
      if (!reason.empty()) {
        if (lineNumber == 1) {
          result.error = "The text " + std::string(kNotALog);
          records.clear();
          return result;
        }
        problems.push_back({lineNumber, std::move(reason)});
      }
    }
    if (progress && at >= nextReport) {
      if (!progress(at, text.size())) return Cancelled();
      nextReport = at + kProgressStep;
    }
  }
  result.review.format = parser.Finish(records, problems);
  if (progress && !progress(text.size(), text.size())) return Cancelled();
  return result;
}

ReviewReadResult ReadMonitorLog(const std::filesystem::path& path, const ReadProgress& progress,
                                const IoEventNames& ioEventNames) {
  ReviewReadResult result;
  std::error_code failure;
  const std::uintmax_t size = std::filesystem::file_size(path, failure);
  std::string text;
  if (!failure) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
      failure = std::error_code(errno, std::generic_category());
    } else if (!ReadWhole(file, size, text)) {
      failure = std::make_error_code(std::errc::io_error);
    }
  }
  if (failure) {
    result.error = "Cannot read '" + path.string() + "': " + failure.message() + ".";
    return result;
  }
  result = ParseMonitorLog(text, progress, ioEventNames);
  if (!result.error.empty()) result.error = "'" + path.string() + "' " + std::string(kNotALog);
  return result;
}

}  // namespace orvane::review
