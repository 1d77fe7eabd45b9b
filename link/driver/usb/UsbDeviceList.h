// What the usb backend and `orvane-cli usb` need of libusb's device list:
// the attached devices with their pairs and their paths.
//
// A device path names the bus and the chain of hub ports, "usb:1-2.4" for
// the device at port 4 of the hub at port 2 of bus 1 ("usb:1" for a root
// hub); it stays the same across replugs into the same port, and is at
// most 35 characters (bus and 7 port levels of up to 3 digits each), well
// within a device table entry.
#pragma once

#include <libusb.h>

#include <span>
#include <string>
#include <vector>

#include "link/driver/usb/UsbAllowList.h"

namespace orlink::driver {

std::string DevicePath(libusb_device* device);
UsbId DeviceUsbId(libusb_device* device);

// libusb's list of attached devices, each referenced while the list lives.
class UsbDeviceList {
 public:
  explicit UsbDeviceList(libusb_context* context);
  ~UsbDeviceList();
  UsbDeviceList(const UsbDeviceList&) = delete;
  UsbDeviceList& operator=(const UsbDeviceList&) = delete;

  std::span<libusb_device* const> Devices() const { return {devices_, count_}; }
  bool Contains(libusb_device* device) const;

  // The allow-listed devices ordered by path, so that member indices stay
  // put however libusb orders its list.
  std::vector<libusb_device*> AllowListed(const UsbAllowList& allow_list) const;

 private:
  libusb_device** devices_ = nullptr;
  std::size_t count_ = 0;
};

// One attached device as `orvane-cli usb` shows it.
struct UsbDeviceReport {
  UsbId id;
  std::string path;
  bool allow_listed = false;
  bool can_open = false;
};

// Every attached device ordered by path; an empty list with `error` set
// when libusb cannot be used at all.
std::vector<UsbDeviceReport> SurveyUsbDevices(const UsbAllowList& allow_list, std::string& error);

}  // namespace orlink::driver
