// orvane-cli usb: every USB device libusb sees, whether it counts as an
// analyzer (allow-listed) and whether this user may open it, with the fix
// when an analyzer cannot be used.
#include <cstdio>
#include <string>
#include <string_view>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "link/driver/usb/UsbDeviceList.h"

namespace orvane::cli {
namespace {

using orlink::driver::FormatUsbId;
using orlink::driver::UsbDeviceReport;

constexpr std::string_view kInstallRule =
    "sudo cp dist/70-orvane.rules /etc/udev/rules.d/ && sudo udevadm control --reload && replug";

std::string Advice(const UsbDeviceReport& device) {
  if (!device.allow_listed) {
    return "if this is an analyzer: echo " + FormatUsbId(device.id) +
           " >> ~/.config/orvane/usb-ids";
  }
  if (device.can_open) return "";
  if (device.id == orlink::driver::kAnalyzerUsbId) return "fix: " + std::string(kInstallRule);
  return "fix: add a line for " + FormatUsbId(device.id) + " to 70-orvane.rules, then " +
         std::string(kInstallRule);
}

int Usb() {
  std::string messages;
  const auto allow_list = orlink::driver::AllowListFromEnvironment(messages);
  std::fputs(messages.c_str(), stderr);
  std::string error;
  const auto devices = orlink::driver::SurveyUsbDevices(allow_list, error);
  if (!error.empty()) {
    std::printf("libusb cannot reach the USB devices here (%s)\n", error.c_str());
    return 0;
  }
  if (devices.empty()) std::printf("no USB devices\n");
  for (const UsbDeviceReport& device : devices) {
    std::string access = device.can_open ? "can open" : "cannot open";
    if (const std::string advice = Advice(device); !advice.empty()) {
      access.resize(std::string_view("cannot open").size(), ' ');
      access += "  " + advice;
    }
    std::printf("%s  %-11s  %-16s  %s\n", FormatUsbId(device.id).c_str(), device.path.c_str(),
                device.allow_listed ? "allow-listed" : "not allow-listed", access.c_str());
  }
  return 0;
}

}  // namespace

void AddUsb(CommandLine& commandLine) {
  CLI::App& usb = commandLine.AddCommand(
      commandLine.root(), "usb", "list the USB devices and whether they can serve as analyzers");
  commandLine.RunsWhenChosen(usb, Usb);
}

}  // namespace orvane::cli
