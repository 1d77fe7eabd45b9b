#include "monitor/LogSave.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <system_error>

namespace orvane::monitor {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream input(path, std::ios::binary);
  if (!input) return std::nullopt;
  std::string text{std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>()};
  if (input.bad()) return std::nullopt;
  return text;
}

}  // namespace

bool WriteFileWith(const std::filesystem::path& path,
                   const std::function<void(std::FILE*)>& write) {
  FilePointer file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  write(file.get());
  const bool written = std::fflush(file.get()) == 0 && std::ferror(file.get()) == 0;
  return std::fclose(file.release()) == 0 && written;
}

std::vector<MonitorRecord> RingRecordsInOrder(const MonitorRing& ring) {
  const RingSnapshot snapshot = ring.Snapshot();
  const std::span<const MonitorRecord> records = ring.Records();
  std::vector<MonitorRecord> ordered;
  ordered.reserve(snapshot.Count());
  if (snapshot.wrapped) {
    const auto older = records.subspan(snapshot.writeIndex);
    ordered.insert(ordered.end(), older.begin(), older.end());
  }
  const auto newer = records.first(snapshot.writeIndex);
  ordered.insert(ordered.end(), newer.begin(), newer.end());
  return ordered;
}

bool SaveLog(const std::filesystem::path& path, const MonitorRing& ring, const LogFormat& format) {
  const RingSnapshot snapshot = ring.Snapshot();
  const std::span<const MonitorRecord> records = ring.Records();
  return WriteFileWith(path, [&](std::FILE* file) {
    LogSequenceWriter writer(format);
    if (snapshot.wrapped) writer.Write(file, records.subspan(snapshot.writeIndex));
    writer.Write(file, records.first(snapshot.writeIndex));
  });
}

bool SaveLog(const std::filesystem::path& path, std::span<const MonitorRecord> records,
             const LogFormat& format) {
  return WriteFileWith(path,
                       [&](std::FILE* file) { LogSequenceWriter(format).Write(file, records); });
}

std::optional<std::string> CopyMonitorLogData(const std::filesystem::path& folder,
                                              const MonitorRing& ring, const LogFormat& format) {
  const std::filesystem::path temporary = folder / "log.$$$";
  std::optional<std::string> text;
  if (SaveLog(temporary, ring, format)) text = ReadWholeFile(temporary);
  std::error_code ignored;
  std::filesystem::remove(temporary, ignored);
  return text;
}

}  // namespace orvane::monitor
