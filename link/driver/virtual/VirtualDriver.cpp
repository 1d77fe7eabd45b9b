#include "link/driver/virtual/VirtualDriver.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string_view>

#include "link/Bytes.h"
#include "link/orlink.h"
#include "link/driver/PipeName.h"

namespace orlink::driver {
namespace {

namespace emulator = orvane::emulator;

constexpr std::uint8_t kMonitorPipe = 0;
constexpr std::uint8_t kCommandPipe = 2;
constexpr std::uint8_t kReplyPipe = 3;
constexpr std::uint8_t kPipeCount = 4;

constexpr std::uint8_t kDeviceDescriptorType = 1;
constexpr std::uint8_t kConfigurationDescriptorType = 2;

// Configuration descriptor with interface 0 and its four bulk endpoints in
// pipe order: 0x81 monitor, 0x01 unused, 0x02 command, 0x82 reply.
constexpr std::array<std::uint8_t, 46> kConfigurationDescriptor{
    0x09, 0x02, 0x2E, 0x00, 0x01, 0x01, 0x00, 0x80, 0x32,  // configuration, 100 mA
    0x09, 0x04, 0x00, 0x00, 0x04, 0xFF, 0x00, 0x00, 0x00,  // interface 0, vendor class
    0x07, 0x05, 0x81, 0x02, 0x40, 0x00, 0x00,              // pipe 0
    0x07, 0x05, 0x01, 0x02, 0x40, 0x00, 0x00,              // pipe 1
    0x07, 0x05, 0x02, 0x02, 0x40, 0x00, 0x00,              // pipe 2
    0x07, 0x05, 0x82, 0x02, 0x40, 0x00, 0x00,              // pipe 3
};

// Copies what fits of `source` into `output`.
bool Answer(std::span<const std::uint8_t> source, std::span<std::uint8_t> output,
            std::size_t& returned) {
  returned = std::min(source.size(), output.size());
  std::copy_n(source.begin(), returned, output.begin());
  return true;
}

}  // namespace

VirtualDriver::VirtualDriver(std::shared_ptr<emulator::VirtualAnalyzer> analyzer)
    : analyzer_(std::move(analyzer)) {}

std::string VirtualDriver::Name() const { return "virtual"; }

std::optional<std::string> VirtualDriver::InterfacePath(unsigned member) {
  if (member != 0 || !analyzer_->IsPresent()) return std::nullopt;
  return std::string(kDevicePath);
}

Handle VirtualDriver::Open(const std::string& name) {
  if (!analyzer_->IsPresent()) return kInvalidHandle;
  Target target{.is_device = true};
  if (name != kDevicePath) {
    const std::optional<PipeName> pipe = ParsePipeName(name);
    if (!pipe || pipe->device_path != kDevicePath || pipe->interface_number != 0 ||
        pipe->pipe_number >= kPipeCount) {
      return kInvalidHandle;
    }
    target = Target{.is_device = false, .pipe = pipe->pipe_number};
  }
  std::lock_guard lock(mutex_);
  const Handle handle = next_handle_++;
  open_.emplace(handle, target);
  return handle;
}

bool VirtualDriver::IoControl(Handle handle, std::uint32_t code,
                              std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
                              std::size_t& returned) {
  returned = 0;
  const std::optional<Target> target = TargetOf(handle);
  return target && analyzer_->IsPresent() && Control(*target, code, input, output, returned);
}

bool VirtualDriver::Control(const Target& target, std::uint32_t code,
                            std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
                            std::size_t& returned) {
  switch (code) {
    case kResetDevice:
      return target.is_device;
    case kResetPipe:
      return !target.is_device;
    case kControlDeviceToHost:
      if (input.size() != kRequestHeaderSize) return false;
      std::ranges::fill(output, 0);
      returned = output.size();
      return true;
    case kControlHostToDevice:
      return input.size() >= kRequestHeaderSize;
    case kGetDescriptor: {
      if (input.size() != 4) return false;
      if (input[0] == kDeviceDescriptorType) {
        return Answer(analyzer_->DeviceDescriptor(), output, returned);
      }
      return input[0] == kConfigurationDescriptorType &&
             Answer(kConfigurationDescriptor, output, returned);
    }
    case kCheckDevice: {
      std::array<std::uint8_t, 4> present{};
      PutLittleEndian(present, analyzer_->IsPresent() ? 1 : 0);
      return output.size() >= present.size() && Answer(present, output, returned);
    }
    case kGetEndpointStatus: {
      if (input.size() != 4 || output.size() < 2) return false;
      const std::array<std::uint8_t, 2> not_halted{};
      return Answer(not_halted, output, returned);
    }
    default:
      return false;
  }
}

bool VirtualDriver::Read(Handle handle, std::span<std::uint8_t> buffer,
                         std::size_t& transferred) {
  transferred = 0;
  const std::optional<Target> target = TargetOf(handle);
  if (!target || target->is_device) return false;
  switch (target->pipe) {
    case kMonitorPipe:
      return analyzer_->ReadMonitorPipe(buffer, transferred);
    case kReplyPipe:
      return analyzer_->ReadReplyPipe(buffer, transferred);
    default:
      return false;
  }
}

bool VirtualDriver::Write(Handle handle, std::span<const std::uint8_t> data,
                          std::size_t& transferred) {
  transferred = 0;
  const std::optional<Target> target = TargetOf(handle);
  if (!target || target->is_device || target->pipe != kCommandPipe ||
      !analyzer_->WriteCommandPipe(data)) {
    return false;
  }
  transferred = data.size();
  return true;
}

void VirtualDriver::Close(Handle handle) {
  std::lock_guard lock(mutex_);
  open_.erase(handle);
}

std::optional<VirtualDriver::Target> VirtualDriver::TargetOf(Handle handle) {
  std::lock_guard lock(mutex_);
  const auto open = open_.find(handle);
  if (open == open_.end()) return std::nullopt;
  return open->second;
}

emulator::AnalyzerProfile VirtualProfileFromEnvironment() {
  const char* value = std::getenv("ORLINK_VIRTUAL_PROFILE");
  const std::string_view name = value != nullptr ? value : "";
  if (name.empty()) return {};
  if (auto profile = emulator::ProfileNamed(name)) return *profile;
  static std::once_flag reported;
  std::call_once(reported, [value] {
    std::fprintf(stderr,
                 "orlink: ORLINK_VIRTUAL_PROFILE=%s names no virtual analyzer profile (%s); "
                 "using default\n",
                 value, emulator::ProfileNames().c_str());
  });
  return {};
}

std::unique_ptr<Driver> CreateVirtualDriver() {
  return std::make_unique<VirtualDriver>(std::make_shared<emulator::VirtualAnalyzer>(
      std::make_shared<emulator::RealClock>(), VirtualProfileFromEnvironment()));
}

std::int32_t ApplyVirtualControl(emulator::VirtualAnalyzer& analyzer, std::int32_t action,
                                 std::uint32_t value) {
  switch (action) {
    case ORLINK_VIRTUAL_QUERY: return 1;
    case ORLINK_VIRTUAL_UNPLUG: analyzer.Unplug(); return 1;
    case ORLINK_VIRTUAL_REPLUG: analyzer.Replug(); return 1;
    case ORLINK_VIRTUAL_BUS_BAUD:
      if (value == 0) return 0;
      analyzer.SetBusBaud(value);
      return 1;
    case ORLINK_VIRTUAL_GARBLE_REPLY: analyzer.GarbleNextReply(); return 1;
    case ORLINK_VIRTUAL_STALL_REPLY: analyzer.StallNextReply(); return 1;
    default: return 0;
  }
}

}  // namespace orlink::driver
