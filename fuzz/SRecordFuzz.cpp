// The firmware image reader on arbitrary text: the records land in the
// 64 KiB image or are skipped, and nothing outside the image is touched
// (AddressSanitizer watches the guard bytes around the heap image).
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "analyzer/SRecordReader.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  using namespace orvane::analyzer;
  const auto image = std::make_unique<FirmwareImage>();
  image->fill(0xFF);
  std::istringstream in(std::string(reinterpret_cast<const char*>(bytes), size));
  ReadSRecords(in, *image);
  const std::string_view text(reinterpret_cast<const char*>(bytes), size);
  const bool anyDataRecord = text.find("S2") != text.npos || text.find("S3") != text.npos;
  if (!anyDataRecord) {
    for (std::uint8_t byte : *image) orvane::fuzz::Expect(byte == 0xFF, "image changed without records");
  }
  return 0;
}
