#include "review/ReviewFile.h"

#include <array>
#include <fstream>

#include "review/CaptureReader.h"
#include "review/MonitorLogReader.h"

namespace orvane::review {
namespace {

bool StartsAsCapture(const std::filesystem::path& path) {
  std::array<std::uint8_t, 4> start{};
  std::ifstream file(path, std::ios::binary);
  file.read(reinterpret_cast<char*>(start.data()), start.size());
  return file.gcount() == static_cast<std::streamsize>(start.size()) && IsCaptureStart(start);
}

}  // namespace

ReviewReadResult ReadReviewFile(const std::filesystem::path& path, const ReadProgress& progress) {
  if (!StartsAsCapture(path)) return ReadMonitorLog(path, progress);
  ReviewReadResult result = ReadCaptureFile(path, progress);
  result.review.positionUnit = "block";
  return result;
}

}  // namespace orvane::review
