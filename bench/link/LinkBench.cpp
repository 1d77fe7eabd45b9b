// Cost of the link's command layer over the bare driver transfers it makes.
//
// A canned driver answers instantly, so each pair measures what the link
// adds (framing, answer checks, copies) to the same transfers done by hand:
// MonitorRead of a full 25-record block against one driver read, and a
// MemoryRead exchange against one driver write plus one read. Compare the
// pairs as ratios within one run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <vector>

#include "link/Seams.h"
#include "link/driver/Driver.h"
#include "link/driver/PipeName.h"
#include "link/orlink.h"

namespace {

using orlink::driver::Handle;

// Pipe n opens as handle kFirstPipe + n.
constexpr Handle kDevice = 1;
constexpr Handle kFirstPipe = 10;
constexpr Handle kMonitorPipe = kFirstPipe + 0;
constexpr Handle kCommandPipe = kFirstPipe + 2;
constexpr Handle kReplyPipe = kFirstPipe + 3;

// One analyzer that answers every transfer at once: a full monitor block on
// pipe 0, and on pipe 3 the reply to a 16-byte MemoryRead at 0x0440.
class CannedDriver final : public orlink::driver::Driver {
 public:
  CannedDriver() { monitor_block_[26] = 25; }
  std::string Name() const override { return "canned"; }
  std::optional<std::string> InterfacePath(unsigned member) override {
    if (member != 0) return std::nullopt;
    return "canned0";
  }
  Handle Open(const std::string& name) override {
    const auto pipe = orlink::driver::ParsePipeName(name);
    return pipe ? kFirstPipe + pipe->pipe_number : kDevice;
  }
  bool IoControl(Handle, std::uint32_t code, std::span<const std::uint8_t>,
                 std::span<std::uint8_t> output, std::size_t& returned) override {
    std::ranges::fill(output, 0);
    if (code == orlink::driver::kCheckDevice) output[0] = 1;
    returned = output.size();
    return true;
  }
  bool Read(Handle handle, std::span<std::uint8_t> buffer, std::size_t& transferred) override {
    const std::span<const std::uint8_t> block =
        handle == kMonitorPipe ? std::span<const std::uint8_t>(monitor_block_) : kReadReply;
    transferred = std::min(block.size(), buffer.size());
    std::copy_n(block.begin(), transferred, buffer.begin());
    return true;
  }
  bool Write(Handle, std::span<const std::uint8_t> data, std::size_t& transferred) override {
    transferred = data.size();
    return true;
  }
  void Close(Handle) override {}

 private:
  // Reply to a 16-byte MemoryRead at 0x0440: echo, data, end byte.
  static constexpr std::array<std::uint8_t, 25> kReadReply = [] {
    std::array<std::uint8_t, 25> reply{0x02, 0x00, 0x19, 0x04, 0x04, 0x40, 0x00, 0x10};
    std::fill(reply.begin() + 8, reply.end() - 1, 0x5A);
    reply.back() = 0x03;
    return reply;
  }();
  std::array<std::uint8_t, 27 + 25 * 19> monitor_block_{};
};

CannedDriver* InstallCannedLink() {
  auto driver = std::make_unique<CannedDriver>();
  CannedDriver* canned = driver.get();
  orlink::SetDriver(std::move(driver));
  if (InitUSB() != 1) return nullptr;
  return canned;
}

// The canned driver behind an opaque pointer, called as the link calls it.
orlink::driver::Driver* OpaqueDriver(CannedDriver& canned) {
  orlink::driver::Driver* driver = &canned;
  benchmark::DoNotOptimize(driver);
  return driver;
}

void BM_DriverBlockRead(benchmark::State& state) {
  CannedDriver canned;
  orlink::driver::Driver* driver = OpaqueDriver(canned);
  std::array<std::uint8_t, 512> block{};
  for (auto _ : state) {
    std::size_t transferred = 0;
    driver->Read(kMonitorPipe, block, transferred);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DriverBlockRead);

void BM_MonitorRead(benchmark::State& state) {
  if (InstallCannedLink() == nullptr) return state.SkipWithError("InitUSB failed");
  std::array<std::uint8_t, 27> header{};
  std::vector<std::uint8_t> records(25 * 19);
  for (auto _ : state) {
    benchmark::DoNotOptimize(MonitorRead(header.data(), records.data(), 25));
  }
  orlink::SetDriver(nullptr);
}
BENCHMARK(BM_MonitorRead);

void BM_DriverWriteAndRead(benchmark::State& state) {
  CannedDriver canned;
  orlink::driver::Driver* driver = OpaqueDriver(canned);
  const std::array<std::uint8_t, 9> packet{0x02, 0x00, 0x09, 0x04, 0x04, 0x40, 0x00, 0x10, 0x03};
  std::array<std::uint8_t, 512> reply{};
  for (auto _ : state) {
    std::size_t transferred = 0;
    driver->Write(kCommandPipe, packet, transferred);
    driver->Read(kReplyPipe, reply, transferred);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DriverWriteAndRead);

void BM_MemoryRead(benchmark::State& state) {
  if (InstallCannedLink() == nullptr) return state.SkipWithError("InitUSB failed");
  std::array<std::uint8_t, 16> destination{};
  for (auto _ : state) {
    benchmark::DoNotOptimize(MemoryRead(0x0440, destination.size(), destination.data()));
  }
  orlink::SetDriver(nullptr);
}
BENCHMARK(BM_MemoryRead);

}  // namespace

BENCHMARK_MAIN();
