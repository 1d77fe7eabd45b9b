#include "tests/link/usb/TraceToUmockdev.h"

#include <cstdio>
#include <sstream>

namespace orvane::testing {
namespace {

constexpr std::size_t kAcknowledgeReadSize = 256;
constexpr std::size_t kBlockReadSize = 512;
constexpr std::uint8_t kMemoryRead = 4;
constexpr std::uint8_t kMemoryReadEx = 7;
constexpr std::size_t kCommandCodeOffset = 3;
constexpr int kBulkUrb = 3;
constexpr int kNoDevice = -19;
constexpr std::uint8_t kEndpointDescriptor = 5;
constexpr std::uint8_t kInterfaceDescriptor = 4;

std::string Hex(const std::vector<std::uint8_t>& bytes, const char* format) {
  std::string text;
  char digits[4];
  for (const std::uint8_t byte : bytes) {
    std::snprintf(digits, sizeof digits, format, byte);
    text += digits;
  }
  return text;
}

// Endpoint addresses of interface 0, setting 0, in descriptor order.
std::vector<std::uint8_t> PipeEndpoints(const std::vector<std::uint8_t>& configuration) {
  std::vector<std::uint8_t> endpoints;
  bool in_interface0 = false;
  for (std::size_t at = 0; at + 2 <= configuration.size() && configuration[at] >= 2;
       at += configuration[at]) {
    const std::uint8_t type = configuration[at + 1];
    if (type == kInterfaceDescriptor && at + 4 <= configuration.size()) {
      in_interface0 = configuration[at + 2] == 0 && configuration[at + 3] == 0;
    } else if (type == kEndpointDescriptor && in_interface0 && at + 3 <= configuration.size()) {
      endpoints.push_back(configuration[at + 2]);
    }
  }
  return endpoints;
}

std::string DeviceText(const std::vector<std::uint8_t>& device,
                       const std::vector<std::uint8_t>& configuration) {
  char ids[64];
  std::snprintf(ids, sizeof ids, "%02x%02x/%02x%02x/%x", device[9], device[8], device[11],
                device[10], device[13] << 8 | device[12]);
  std::vector<std::uint8_t> descriptors = device;
  descriptors.insert(descriptors.end(), configuration.begin(), configuration.end());
  std::ostringstream text;
  text << "P: /devices/pci0000:00/0000:00:14.0/usb1/1-2\n"
       << "N: bus/usb/001/002\n"
       << "E: BUSNUM=001\nE: DEVNUM=002\nE: DEVNAME=" << kUsbDeviceNode << "\n"
       << "E: DEVTYPE=usb_device\nE: DRIVER=usb\nE: SUBSYSTEM=usb\n"
       << "E: PRODUCT=" << ids << "\n"
       << "A: busnum=1\nA: devnum=2\nA: speed=12\n"
       << "A: bConfigurationValue=" << static_cast<int>(configuration[5]) << "\n"
       << "A: bNumConfigurations=" << static_cast<int>(device[17]) << "\n"
       << "A: idVendor=" << std::string(ids, 4) << "\nA: idProduct=" << std::string(ids + 5, 4)
       << "\n"
       << "H: descriptors=" << Hex(descriptors, "%02X") << "\n";
  return text.str();
}

std::string Urb(std::uint8_t endpoint, int status, std::size_t buffer_length,
                const std::vector<std::uint8_t>& bytes) {
  std::ostringstream line;
  line << "USBDEVFS_REAPURBNDELAY 0 " << kBulkUrb << " " << static_cast<int>(endpoint) << " "
       << status << " 0 " << buffer_length << " " << bytes.size() << " 0 " << Hex(bytes, "%02X")
       << "\n";
  return line.str();
}

}  // namespace

std::optional<TraceLine> ParseTraceLine(const std::string& text) {
  std::istringstream words(text);
  std::string seconds, result;
  TraceLine line;
  if (!(words >> seconds >> line.direction >> line.where >> result)) return std::nullopt;
  line.ok = result == "ok";
  std::vector<std::uint8_t>* target = &line.bytes;
  for (std::string word; words >> word;) {
    if (word == "->") {
      target = &line.output;
      continue;
    }
    target->push_back(static_cast<std::uint8_t>(std::stoul(word, nullptr, 16)));
  }
  return line;
}

std::optional<UmockdevRecording> ConvertTrace(const std::vector<TraceLine>& trace) {
  std::vector<std::uint8_t> device, configuration;
  for (const TraceLine& line : trace) {
    if (line.direction != "ctl" || line.where != "0x220014" || !line.ok || line.bytes.empty()) {
      continue;
    }
    if (line.bytes[0] == 1 && line.output.size() == 18) device = line.output;
    if (line.bytes[0] == 2 && line.output.size() > configuration.size()) {
      configuration = line.output;
    }
  }
  if (device.empty() || configuration.size() < 9) return std::nullopt;
  const std::vector<std::uint8_t> endpoints = PipeEndpoints(configuration);

  UmockdevRecording recording{DeviceText(device, configuration),
                              std::string("@DEV ") + kUsbDeviceNode + "\n"};
  std::size_t reply_read_size = kAcknowledgeReadSize;
  for (const TraceLine& line : trace) {
    if (line.direction == "ctl") continue;
    const std::size_t pipe = std::stoul(line.where.substr(line.where.size() - 3));
    if (pipe >= endpoints.size()) return std::nullopt;
    const std::uint8_t endpoint = endpoints[pipe];
    if (line.direction == "out") {
      if (line.bytes.size() > kCommandCodeOffset) {
        const std::uint8_t code = line.bytes[kCommandCodeOffset];
        reply_read_size =
            code == kMemoryRead || code == kMemoryReadEx ? kBlockReadSize : kAcknowledgeReadSize;
      }
      recording.ioctl += Urb(endpoint, 0, line.bytes.size(), line.bytes);
      continue;
    }
    const std::size_t read_size = pipe == 0 ? kBlockReadSize : reply_read_size;
    recording.ioctl += Urb(endpoint, line.ok ? 0 : kNoDevice, read_size, line.bytes);
  }
  return recording;
}

}  // namespace orvane::testing
