#include "tests/link/usb/AnalyzerSession.h"

#include <array>
#include <cstdio>
#include <span>

#include "link/orlink.h"

namespace orvane::testing {
namespace {

constexpr std::uint32_t kSerialNumber = 0xC0000;
constexpr std::uint32_t kVersionArea = 0xD0000;
constexpr std::uint32_t kLengthTable = 0x11B0;
constexpr std::size_t kConfigurationHeaderSize = 9;
constexpr std::uint32_t kMaxRecords = 25;

std::string Line(const std::string& step, std::int32_t result,
                 std::span<const std::uint8_t> bytes = {}) {
  std::string line = step + " " + std::to_string(result);
  char digits[4];
  for (const std::uint8_t byte : bytes) {
    std::snprintf(digits, sizeof digits, " %02x", byte);
    line += digits;
  }
  return line + "\n";
}

std::string Descriptors() {
  const std::int32_t device = Uusbd_Open();
  std::string lines = Line("Uusbd_Open", device);
  std::array<std::uint8_t, 18> descriptor{};
  lines +=
      Line("GetDeviceDescriptor", Uusbd_GetDeviceDescriptor(device, descriptor.data()), descriptor);
  std::array<std::uint8_t, 255> configuration{};
  std::int32_t read =
      Uusbd_GetConfigurationDescriptor(device, configuration.data(), kConfigurationHeaderSize);
  const std::size_t total =
      std::min<std::size_t>(configuration[2] | configuration[3] << 8, configuration.size());
  read = read && Uusbd_GetConfigurationDescriptor(device, configuration.data(),
                                                  static_cast<std::uint32_t>(total));
  lines += Line("GetConfigurationDescriptor", read, std::span(configuration).first(total));
  Uusbd_Close(device);
  return lines;
}

std::string MonitorBlock() {
  std::array<std::uint8_t, 27> header{};
  std::array<std::uint8_t, kMaxRecords * 19> records{};
  const std::int32_t read = MonitorRead(header.data(), records.data(), kMaxRecords);
  return Line("MonitorRead", read, header) +
         Line("records", read,
              std::span(records).first(std::min<std::size_t>(header[26], kMaxRecords) * 19));
}

}  // namespace

std::string RunAnalyzerSession() {
  std::string lines = Descriptors();
  lines += Line("InitUSB", InitUSB());
  std::array<std::uint8_t, 32> serial{};
  lines += Line("MemoryReadEx", MemoryReadEx(kSerialNumber, serial.size(), serial.data()), serial);
  std::array<std::uint8_t, 16> version{};
  lines +=
      Line("MemoryReadEx", MemoryReadEx(kVersionArea, version.size(), version.data()), version);
  lines += Line("TargetGo", TargetGo());
  std::array<std::uint8_t, 64> lengths{};
  for (std::size_t id = 0; id < lengths.size(); ++id)
    lengths[id] = static_cast<std::uint8_t>(id % 9 | (id & 0x20) << 2);
  lines += Line("MemoryWrite", MemoryWrite(kLengthTable, lengths.size(), lengths.data()));
  std::array<std::uint8_t, 64> read_back{};
  lines +=
      Line("MemoryRead", MemoryRead(kLengthTable, read_back.size(), read_back.data()), read_back);
  lines += Line("MonitorStart", MonitorStart());
  for (int block = 0; block < 4; ++block) lines += MonitorBlock();
  lines += Line("MonitorStop", MonitorStop());
  CloseUSB();
  return lines;
}

std::string RunUnplugSession(const std::function<void()>& unplug) {
  std::string lines = Descriptors();
  lines += Line("InitUSB", InitUSB());
  lines += Line("TargetGo", TargetGo());
  lines += Line("MonitorStart", MonitorStart());
  lines += MonitorBlock();
  unplug();
  lines += MonitorBlock();
  lines += Line("Uusbd_Check", Uusbd_Check(0));
  CloseUSB();
  return lines;
}

}  // namespace orvane::testing
