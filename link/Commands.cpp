// Analyzer commands (ordinals 13-24): command packets written to the
// command pipe, answers read from the reply pipe, monitor blocks from the
// monitor pipe.
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>

#include "link/ApiGuard.h"
#include "link/CommandPacket.h"
#include "link/Runtime.h"
#include "link/orlink.h"

namespace orlink {
namespace {

using namespace std::chrono_literals;
using driver::Handle;
using driver::kInvalidHandle;

constexpr std::uint8_t kAnalyzerInterface = 0;
constexpr std::uint8_t kMonitorPipeNumber = 0;
constexpr std::uint8_t kCommandPipeNumber = 2;
constexpr std::uint8_t kReplyPipeNumber = 3;

constexpr int kOpenAttempts = 100;
constexpr auto kOpenRetryWait = 100ms;
constexpr int kReplyReads = 5;
constexpr std::size_t kAcknowledgeReadSize = 256;
constexpr std::size_t kReadReplySize = 512;
constexpr auto kFrashWriteWait = 10ms;
constexpr auto kFrashEraseWait = 100ms;

constexpr std::size_t kMonitorBlockSize = 512;
constexpr std::size_t kMonitorHeaderSize = 27;
constexpr std::size_t kRecordCountOffset = 26;
constexpr std::size_t kMonitorRecordSize = 19;
constexpr int kMonitorReadAttempts = 3;
constexpr auto kMonitorRetryWait = 100ms;

// The open analyzer: its device index and its three pipes. Written by
// InitUSB and CloseUSB, read by every command and by MonitorRead.
struct Connection {
  std::atomic<std::int32_t> device{-1};
  std::atomic<Handle> monitor_pipe{kInvalidHandle};
  std::atomic<Handle> command_pipe{kInvalidHandle};
  std::atomic<Handle> reply_pipe{kInvalidHandle};
};

Connection& TheConnection() {
  static Connection connection;
  return connection;
}

bool ReadPipe(Handle pipe, std::span<std::uint8_t> buffer, std::size_t& delivered) {
  driver::Driver* driver = ActiveDriver();
  delivered = 0;
  return pipe != kInvalidHandle && driver != nullptr && driver->Read(pipe, buffer, delivered) &&
         delivered <= buffer.size();
}

// One synchronous write of the whole packet; a partial write is a failure.
bool SendCommand(const CommandPacket& packet) {
  const Handle pipe = TheConnection().command_pipe.load();
  driver::Driver* driver = ActiveDriver();
  std::size_t written = 0;
  return pipe != kInvalidHandle && driver != nullptr &&
         driver->Write(pipe, packet.bytes(), written) && written == packet.bytes().size();
}

std::int32_t ExchangeWithAcknowledge(const CommandPacket& packet,
                                     std::chrono::milliseconds wait_after_write = 0ms) {
  if (!SendCommand(packet)) return 0;
  if (wait_after_write > 0ms) Sleep(wait_after_write);
  std::array<std::uint8_t, kAcknowledgeReadSize> reply;
  for (int read = 0; read < kReplyReads; ++read) {
    std::size_t delivered = 0;
    if (!ReadPipe(TheConnection().reply_pipe.load(), reply, delivered)) return 0;
    if (IsAcknowledge(std::span(reply).first(delivered))) return 1;
  }
  return 0;
}

// Destination stays untouched unless a reply matches the request.
std::int32_t ExchangeWithReadReply(const std::optional<CommandPacket>& packet,
                                   std::uint32_t length, std::uint8_t* destination) {
  if (!packet || (destination == nullptr && length != 0) || !SendCommand(*packet)) return 0;
  std::array<std::uint8_t, kReadReplySize> reply;
  for (int read = 0; read < kReplyReads; ++read) {
    std::size_t delivered = 0;
    if (!ReadPipe(TheConnection().reply_pipe.load(), reply, delivered)) return 0;
    const auto data = MatchReadReply(*packet, std::span(reply).first(delivered), length);
    if (data) {
      std::ranges::copy(*data, destination);
      return 1;
    }
  }
  return 0;
}

std::int32_t SendWrite(const std::optional<CommandPacket>& packet,
                       std::chrono::milliseconds wait_after_write = 0ms) {
  return packet ? ExchangeWithAcknowledge(*packet, wait_after_write) : 0;
}

// Source bytes of a write, or nothing when the caller gave none for a
// non-zero length.
std::optional<std::span<const std::uint8_t>> SourceBytes(const std::uint8_t* source,
                                                         std::uint32_t length) {
  if (source == nullptr && length != 0) return std::nullopt;
  return std::span(source, length);
}

std::int32_t OpenAnalyzer() {
  Connection& connection = TheConnection();
  std::int32_t device = -1;
  for (int attempt = 1; attempt <= kOpenAttempts; ++attempt) {
    device = Uusbd_Open();
    if (device >= 0) break;
    if (attempt < kOpenAttempts) Sleep(kOpenRetryWait);
  }
  if (device < 0) return 0;
  connection.device.store(device);
  if (Uusbd_Check(device) != 0) return 0;
  const std::array<std::pair<std::atomic<Handle>*, std::uint8_t>, 3> pipes{{
      {&connection.monitor_pipe, kMonitorPipeNumber},
      {&connection.command_pipe, kCommandPipeNumber},
      {&connection.reply_pipe, kReplyPipeNumber},
  }};
  for (const auto& [pipe, number] : pipes) {
    pipe->store(Uusbd_OpenPipe(device, kAnalyzerInterface, number));
    if (pipe->load() == kInvalidHandle) return 0;
  }
  return 1;
}

// One monitor block into the caller's buffers; false when the read failed
// or delivered less than a whole header.
bool ReadMonitorBlock(std::uint8_t* header27, std::uint8_t* records, std::uint32_t max_records) {
  std::array<std::uint8_t, kMonitorBlockSize> block;
  std::size_t delivered = 0;
  if (!ReadPipe(TheConnection().monitor_pipe.load(), block, delivered) ||
      delivered < kMonitorHeaderSize) {
    return false;
  }
  std::copy_n(block.begin(), kMonitorHeaderSize, header27);
  // Only whole records that the read delivered are copied, never more than
  // the block announces nor more than the caller has room for.
  const std::size_t delivered_records = (delivered - kMonitorHeaderSize) / kMonitorRecordSize;
  const std::size_t announced = std::min<std::size_t>(block[kRecordCountOffset], max_records);
  const std::size_t count = std::min(announced, delivered_records);
  std::copy_n(block.begin() + kMonitorHeaderSize, count * kMonitorRecordSize, records);
  // Callers take the announced count from the header; records the device
  // announced but did not deliver read as zeros, never as whatever an
  // earlier block left in the caller's buffer.
  std::fill_n(records + count * kMonitorRecordSize, (announced - count) * kMonitorRecordSize, 0);
  return true;
}

}  // namespace
}  // namespace orlink

using namespace orlink;

extern "C" {

int32_t InitUSB(void) {
  return Guarded<int32_t>(0, [] {
    // A second InitUSB must not leak the device entry and pipes of the first.
    CloseUSB();
    return OpenAnalyzer();
  });
}

int32_t TargetGo(void) {
  return Guarded<int32_t>(
      0, [] { return ExchangeWithAcknowledge(BuildBareCommand(CommandCode::kTargetGo)); });
}

int32_t FrashWrite(uint32_t address, uint32_t length, const uint8_t* source) {
  return Guarded<int32_t>(0, [&]() -> int32_t {
    const auto data = SourceBytes(source, length);
    return data ? SendWrite(BuildFrashWrite(address, *data), kFrashWriteWait) : 0;
  });
}

int32_t MemoryWrite(uint32_t address, uint32_t length, const uint8_t* source) {
  return Guarded<int32_t>(0, [&]() -> int32_t {
    const auto data = SourceBytes(source, length);
    return data ? SendWrite(BuildMemoryWrite(address, *data)) : 0;
  });
}

int32_t MemoryRead(uint32_t address, uint32_t length, uint8_t* destination) {
  return Guarded<int32_t>(0, [&] {
    return ExchangeWithReadReply(BuildMemoryRead(address, length), length, destination);
  });
}

int32_t MonitorStart(void) {
  return Guarded<int32_t>(
      0, [] { return ExchangeWithAcknowledge(BuildBareCommand(CommandCode::kMonitorStart)); });
}

int32_t MonitorStop(void) {
  return Guarded<int32_t>(
      0, [] { return ExchangeWithAcknowledge(BuildBareCommand(CommandCode::kMonitorStop)); });
}

int32_t MemoryReadEx(uint32_t address, uint32_t length, uint8_t* destination) {
  return Guarded<int32_t>(0, [&] {
    return ExchangeWithReadReply(BuildMemoryReadEx(address, length), length, destination);
  });
}

int32_t MonitorRead(uint8_t* header27, uint8_t* records, uint32_t max_records) {
  return Guarded<int32_t>(0, [&]() -> int32_t {
    if (header27 == nullptr || (records == nullptr && max_records != 0)) return 0;
    for (int attempt = 0; attempt < kMonitorReadAttempts; ++attempt) {
      if (ReadMonitorBlock(header27, records, max_records)) return 1;
      Sleep(kMonitorRetryWait);
    }
    return 0;
  });
}

void CloseUSB(void) {
  GuardedVoid([] {
    Connection& connection = TheConnection();
    const std::int32_t device = connection.device.exchange(-1);
    if (device < 0) return;
    driver::Driver* driver = ActiveDriver();
    for (auto* pipe : {&connection.monitor_pipe, &connection.command_pipe, &connection.reply_pipe}) {
      const Handle handle = pipe->exchange(kInvalidHandle);
      if (handle != kInvalidHandle && driver != nullptr) driver->Close(handle);
    }
    Uusbd_Close(device);
  });
}

int32_t FrashErase(uint32_t address) {
  return Guarded<int32_t>(0, [&] {
    return ExchangeWithAcknowledge(BuildFrashErase(address), kFrashEraseWait);
  });
}

int32_t CheckUSB(void) {
  return Guarded<int32_t>(0, [] { return Uusbd_Check(TheConnection().device.load()) == 0; });
}

}  // extern "C"
