// The configuration file reader on files of every size: the first input byte
// chooses whether the rest is the whole file (any size, mostly refused) or
// is laid into a file of the current or the older layout's size (zero-padded
// or cut), so that both layouts are decoded from small inputs. Both reads
// run: the stored one (the cli's show and check) and the program's, with
// its LIN 2.0 question and description reload. A current-layout file read
// as stored must write back byte for byte.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "app/ConfigurationFile.h"
#include "fuzz/FuzzInput.h"
#include "simulation/ExtendedFileRows.h"

namespace {

using namespace orvane;
using namespace orvane::app;

class NoDescriptions final : public LinDescriptionLoader {
 public:
  void Release() override {}
  bool Reload(std::string_view path) override { return !path.empty() && path.size() % 2 == 0; }
};

class AnsweringSink final : public monitor::MessageSink {
 public:
  explicit AnsweringSink(monitor::MessageAnswer answer) : answer_(answer) {}
  bool CanShow() const override { return true; }
  monitor::MessageAnswer Show(const monitor::MessageBoxRequest& request) override {
    fuzz::Expect(!request.text.empty(), "an empty message box");
    return answer_;
  }

 private:
  monitor::MessageAnswer answer_;
};

std::vector<std::uint8_t> FileBytes(const std::uint8_t* bytes, std::size_t size,
                                    std::uint8_t choice) {
  const std::size_t layoutSize =
      choice % 3 == 1 ? kCurrentFileSize : choice % 3 == 2 ? kOlderFileSize : 0;
  if (layoutSize == 0) return {bytes, bytes + size};
  std::vector<std::uint8_t> file(layoutSize, 0);
  std::copy_n(bytes, std::min(size, layoutSize), file.begin());
  return file;
}

void ShowTables(const Configuration& configuration) {
  for (const simulation::ExtendedFileRow& row : simulation::ExtendedFileRows(
           configuration.Schedules, configuration.InterruptSlot, configuration.ExtendedFiles)) {
    simulation::ExtendedFileRowCells(row);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (size < 1) return 0;
  static fuzz::InputFile input;
  const std::uint8_t choice = bytes[0];
  const std::vector<std::uint8_t> file = FileBytes(bytes + 1, size - 1, choice);
  const std::filesystem::path& path = input.Write(file);
  const bool hasLayout = LayoutOfSize(file.size()).has_value();

  auto stored = std::make_unique<Configuration>();
  const ReadResult storedRead = ReadStoredConfiguration(path, *stored);
  fuzz::Expect((storedRead.status == ReadStatus::Loaded) == hasLayout, "stored read status");
  fuzz::Expect(storedRead.error.empty() == hasLayout, "stored read error text");
  if (hasLayout) ShowTables(*stored);
  if (storedRead.status == ReadStatus::Loaded && storedRead.layout == FileLayout::Current) {
    fuzz::Expect(EncodeConfiguration(*stored) == file, "a current-layout file does not round-trip");
  }

  auto configuration = std::make_unique<Configuration>();
  SetDefaults(*configuration, "/nonexistent");
  NoDescriptions descriptions;
  AnsweringSink messages((choice & 0x08) ? monitor::MessageAnswer::kCancel
                                         : monitor::MessageAnswer::kOk);
  const ReadResult read =
      ReadConfiguration(path, (choice & 0x04) != 0, *configuration, descriptions, messages);
  fuzz::Expect((read.status == ReadStatus::Failed) == !hasLayout, "read status");
  if (hasLayout) ShowTables(*configuration);
  return 0;
}
