// The log text that the core's log writer gives for ordinary records, line
// by line, for comparing saved logs with the records behind them.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include "monitor/LogWriter.h"

namespace orvane::ui::testing {

// One line per record, each ending CR LF, as monitor::WriteLogRecord writes
// them.
inline std::string LogTextOf(std::span<const monitor::MonitorRecord> records,
                             const monitor::LogFormat& format) {
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* memory = open_memstream(&buffer, &size);
  for (const monitor::MonitorRecord& record : records) monitor::WriteLogRecord(memory, record, format);
  std::fclose(memory);
  std::string text(buffer, size);
  std::free(buffer);
  return text;
}

}  // namespace orvane::ui::testing
