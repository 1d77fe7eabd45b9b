// orvane-cli info: the serial number and installed firmware version of the
// analyzer, read through liborlink.so as the program binds it.
#include <algorithm>
#include <array>
#include <cstdio>
#include <span>
#include <string>

#include "analyzer/LinkApi.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"

namespace orvane::cli {
namespace {

constexpr std::uint32_t kSerialNumberAddress = 0xC0000;
constexpr std::uint32_t kVersionAreaAddress = 0xD0000;

// A flash text runs up to its first 0xFF.
std::string FlashText(std::span<const std::uint8_t> area) {
  return {area.begin(), std::ranges::find(area, 0xFF)};
}

int Fail(std::string_view message) { return cli::Fail("info", message); }

int Info() {
  const analyzer::LinkBinding binding = analyzer::BindLinkLibrary(analyzer::ProgramFolder());
  if (!binding.api) return Fail(binding.error);
  const analyzer::LinkApi& link = *binding.api;

  if (!link.InitUSB()) return Fail("no analyzer found (is one attached, or ORLINK_DEVICE set?)");
  std::array<std::uint8_t, 32> serial{};
  std::array<std::uint8_t, 16> version{};
  const bool read = link.MemoryReadEx(kSerialNumberAddress, serial.size(), serial.data()) &&
                    link.MemoryReadEx(kVersionAreaAddress, version.size(), version.data());
  link.CloseUSB();
  if (!read) return Fail("the analyzer did not answer the identity read");

  std::printf("Serial number:    %s\n", FlashText(serial).c_str());
  std::printf("Firmware version: %s\n", FlashText(version).c_str());
  return 0;
}

}  // namespace

void AddInfo(CommandLine& commandLine) {
  CLI::App& info = commandLine.AddCommand(commandLine.root(), "info",
                                          "show the analyzer's serial number and firmware version");
  commandLine.RunsWhenChosen(info, Info);
}

}  // namespace orvane::cli
