// The extended frame file reader on files of any content and size: the
// download reads the file bound to an extended-frame slot and writes its
// first 256 bytes, zero-padded, to the analyzer's extended frame area; the
// length it records then patches the compiled entries.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>

#include "analyzer/RegisterMap.h"
#include "fuzz/FuzzInput.h"
#include "settings/FixedText.h"
#include "simulation/ExtendedFiles.h"

namespace {

using namespace orvane;

// The analyzer's extended frame area as MemoryWrite fills it.
std::array<std::uint8_t, analyzer::kExtendedFileCount * analyzer::kExtendedDataSize> area;

std::int32_t WriteArea(std::uint32_t address, std::uint32_t length, const std::uint8_t* source) {
  const std::uint32_t offset = address - analyzer::reg::kExtendedData;
  if (address < analyzer::reg::kExtendedData || offset + length > area.size()) return 0;
  std::memcpy(area.data() + offset, source, length);
  return 1;
}

class SilentSink final : public monitor::MessageSink {
 public:
  bool CanShow() const override { return true; }
  monitor::MessageAnswer Show(const monitor::MessageBoxRequest&) override {
    ++shown;
    return monitor::MessageAnswer::kOk;
  }
  int shown = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  static fuzz::InputFile input;
  static const auto schedules = std::make_unique<simulation::MasterSchedules>();
  analyzer::LinkApi link;
  link.MemoryWrite = &WriteArea;
  const analyzer::RegisterMap map(link, [](std::chrono::milliseconds) {});

  const std::filesystem::path& path = input.Write({bytes, size});
  simulation::SimSlot interruptSlot{};
  interruptSlot.identifier = simulation::kExtendedFrameIdLow;
  simulation::ExtendedFileTable files{};
  files[1].owner = simulation::kOwnerInterruptSlot;
  settings::CopyToField(path.string(), files[1].path);
  area.fill(0xEE);

  SilentSink messages;
  fuzz::Expect(simulation::DownloadExtendedFiles(files, *schedules, interruptSlot, map, messages),
               "a readable file failed to download");
  fuzz::Expect(messages.shown == 0, "a message for a readable file");

  const std::size_t expected = std::min(size, analyzer::kExtendedDataSize);
  fuzz::Expect(files[1].length == expected, "recorded length differs from the file");
  const std::span<const std::uint8_t> block =
      std::span(area).subspan(analyzer::kExtendedDataSize, analyzer::kExtendedDataSize);
  fuzz::Expect(std::equal(bytes, bytes + expected, block.begin()), "block differs from the file");
  fuzz::Expect(std::all_of(block.begin() + static_cast<std::ptrdiff_t>(expected), block.end(),
                           [](std::uint8_t byte) { return byte == 0; }),
               "block not zero-padded");

  simulation::InterruptEntry entry{};
  simulation::BindExtendedFiles(files, entry);
  fuzz::Expect(entry.data[0] == 1 &&
                   static_cast<std::size_t>(entry.data[1] | (entry.data[2] << 8)) == expected,
               "entry does not point at the file");
  return 0;
}
