#include "link/driver/usb/UsbDeviceList.h"

#include <algorithm>
#include <array>

namespace orlink::driver {

std::string DevicePath(libusb_device* device) {
  std::array<std::uint8_t, 7> ports{};
  const int depth = libusb_get_port_numbers(device, ports.data(), static_cast<int>(ports.size()));
  std::string path = "usb:" + std::to_string(libusb_get_bus_number(device));
  for (int level = 0; level < depth; ++level) {
    path += level == 0 ? '-' : '.';
    path += std::to_string(ports[static_cast<std::size_t>(level)]);
  }
  return path;
}

UsbId DeviceUsbId(libusb_device* device) {
  libusb_device_descriptor descriptor{};
  if (libusb_get_device_descriptor(device, &descriptor) != LIBUSB_SUCCESS) return {};
  return {descriptor.idVendor, descriptor.idProduct};
}

UsbDeviceList::UsbDeviceList(libusb_context* context) {
  const ssize_t count = libusb_get_device_list(context, &devices_);
  count_ = count > 0 ? static_cast<std::size_t>(count) : 0;
}

UsbDeviceList::~UsbDeviceList() {
  if (devices_ != nullptr) libusb_free_device_list(devices_, 1);
}

bool UsbDeviceList::Contains(libusb_device* device) const {
  return std::ranges::find(Devices(), device) != Devices().end();
}

std::vector<libusb_device*> UsbDeviceList::AllowListed(const UsbAllowList& allow_list) const {
  std::vector<libusb_device*> found;
  std::ranges::copy_if(Devices(), std::back_inserter(found), [&](libusb_device* device) {
    return allow_list.Contains(DeviceUsbId(device));
  });
  std::ranges::sort(found, {}, DevicePath);
  return found;
}

std::vector<UsbDeviceReport> SurveyUsbDevices(const UsbAllowList& allow_list, std::string& error) {
  libusb_context* context = nullptr;
  const int status = libusb_init(&context);
  if (status != LIBUSB_SUCCESS) {
    error = libusb_strerror(status);
    return {};
  }
  std::vector<UsbDeviceReport> reports;
  {
    const UsbDeviceList list(context);
    for (libusb_device* device : list.Devices()) {
      UsbDeviceReport report{DeviceUsbId(device), DevicePath(device)};
      report.allow_listed = allow_list.Contains(report.id);
      libusb_device_handle* handle = nullptr;
      report.can_open = libusb_open(device, &handle) == LIBUSB_SUCCESS;
      if (handle != nullptr) libusb_close(handle);
      reports.push_back(std::move(report));
    }
  }
  libusb_exit(context);
  std::ranges::sort(reports, {}, &UsbDeviceReport::path);
  return reports;
}

}  // namespace orlink::driver
