// The capture reader on inputs of any content: pcapng and pcap files as
// other tools and our own writer make them, cut and damaged. When the input
// is read, the records written back as pcapng and read again must come back
// byte for byte with the same data lengths, and without a problem.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>

#include "fuzz/FuzzInput.h"
#include "review/CaptureReader.h"
#include "review/PcapngWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  using namespace orvane;
  const review::ReviewReadResult read = review::ParseCapture({bytes, size});
  if (!read.error.empty()) return 0;

  char* buffer = nullptr;
  std::size_t written = 0;
  std::FILE* file = ::open_memstream(&buffer, &written);
  review::PcapngWriter writer(file, read.review.format, false);
  writer.Begin(read.review.source);
  writer.Write(read.review.records);
  writer.Finish();
  std::fclose(file);
  const review::ReviewReadResult again =
      review::ParseCapture({reinterpret_cast<const std::uint8_t*>(buffer), written});
  std::free(buffer);

  fuzz::Expect(again.error.empty() && again.review.problems.empty(),
               "a capture we wrote could not be read");
  const auto& records = read.review.records;
  fuzz::Expect(again.review.records.size() == records.size() &&
                   (records.empty() || std::memcmp(again.review.records.data(), records.data(),
                                                   records.size() * sizeof records.front()) == 0),
               "records changed on their way through pcapng");
  fuzz::Expect(again.review.format.dataLengths == read.review.format.dataLengths,
               "data lengths changed on their way through pcapng");
  return 0;
}
