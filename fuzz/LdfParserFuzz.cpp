// The LIN description parser on arbitrary text, with every section
// requested, and the decoding of every signal of a description that loads
// (what the signal windows do with each frame).
#include <array>
#include <cstdint>
#include <string_view>

#include "fuzz/FuzzInput.h"
#include "signals/LdfParser.h"
#include "signals/SignalDecode.h"

namespace {

using namespace orvane::signals;

void DecodeEverySignal(const LinDescription& description) {
  std::array<std::uint8_t, kDataBytes> data;
  data.fill(0xA5);
  for (const Frame& frame : description.frames) {
    for (const FrameEntry& entry : frame.entries) {
      orvane::fuzz::Expect(entry.signal < description.signals.size(), "frame names no signal");
      const Signal& signal = description.signals[entry.signal];
      const std::uint16_t raw = ExtractRawValue(data, entry.bitOffset, signal.size);
      if (signal.encoding == kNoEncoding) continue;
      orvane::fuzz::Expect(static_cast<std::size_t>(signal.encoding) < description.encodings.size(),
                           "signal names no encoding");
      EncodeText(description.encodings[static_cast<std::size_t>(signal.encoding)], raw,
                 signal.size);
    }
  }
  for (int identifier = 0; identifier < kIdentifierCount; ++identifier) {
    orvane::fuzz::Expect(description.SlotFor(identifier) < kIdentifierCount,
                         "node-order slot out of range");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(bytes), size);
  ParseOutcome outcome = ParseLinDescription(text, 0xFF);
  if (outcome.description) {
    orvane::fuzz::Expect(outcome.messageId == 0, "a loaded description carries a failure");
    DecodeEverySignal(*outcome.description);
  } else {
    orvane::fuzz::Expect(outcome.messageId != 0, "a failed parse names no message");
  }
  return 0;
}
