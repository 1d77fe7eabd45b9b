// The monitor log reader on arbitrary text. Whatever it reads must write
// back as a log that reads again into the same records without a problem,
// and writing those gives the same bytes again: the layout learned and the
// values chosen for what a log does not show are consistent.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz/FuzzInput.h"
#include "monitor/LogWriter.h"
#include "review/MonitorLogReader.h"

namespace {

using namespace orvane;

std::string WriteLog(const review::ReviewRecords& review) {
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* file = open_memstream(&buffer, &size);
  fuzz::Expect(file != nullptr, "no memory file");
  monitor::WriteLogHeader(file);
  monitor::LogSequenceWriter(review.format).Write(file, review.records);
  std::fclose(file);
  std::string text(buffer, size);
  std::free(buffer);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(bytes), size);
  const review::ReviewReadResult first = review::ParseMonitorLog(text);
  if (!first.error.empty()) {
    fuzz::Expect(first.review.records.empty(), "records of a text that is not a log");
    return 0;
  }
  const std::string written = WriteLog(first.review);
  const review::ReviewReadResult second = review::ParseMonitorLog(written);
  fuzz::Expect(second.error.empty() && second.review.problems.empty(),
               "the written log does not read back");
  const std::vector<monitor::MonitorRecord>& before = first.review.records;
  const std::vector<monitor::MonitorRecord>& after = second.review.records;
  fuzz::Expect(std::ranges::equal(
                   before, after,
                   [](const monitor::MonitorRecord& left, const monitor::MonitorRecord& right) {
                     return std::memcmp(&left, &right, sizeof left) == 0;
                   }),
               "the records read back differ");
  fuzz::Expect(WriteLog(second.review) == written, "the log written again differs");
  return 0;
}
