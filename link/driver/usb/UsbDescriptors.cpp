#include "link/driver/usb/UsbDescriptors.h"

namespace orlink::driver {
namespace {

class DescriptorWriter {
 public:
  void Byte(std::uint8_t value) { bytes_.push_back(value); }
  void Word(std::uint16_t value) {
    Byte(static_cast<std::uint8_t>(value));
    Byte(static_cast<std::uint8_t>(value >> 8));
  }
  void Extra(const unsigned char* extra, int length) {
    if (extra != nullptr && length > 0) bytes_.insert(bytes_.end(), extra, extra + length);
  }
  std::vector<std::uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<std::uint8_t> bytes_;
};

constexpr std::uint8_t kAudioEndpointLength = 9;

void WriteEndpoint(DescriptorWriter& out, const libusb_endpoint_descriptor& endpoint) {
  out.Byte(endpoint.bLength);
  out.Byte(endpoint.bDescriptorType);
  out.Byte(endpoint.bEndpointAddress);
  out.Byte(endpoint.bmAttributes);
  out.Word(endpoint.wMaxPacketSize);
  out.Byte(endpoint.bInterval);
  if (endpoint.bLength >= kAudioEndpointLength) {
    out.Byte(endpoint.bRefresh);
    out.Byte(endpoint.bSynchAddress);
  }
  out.Extra(endpoint.extra, endpoint.extra_length);
}

void WriteSetting(DescriptorWriter& out, const libusb_interface_descriptor& setting) {
  out.Byte(setting.bLength);
  out.Byte(setting.bDescriptorType);
  out.Byte(setting.bInterfaceNumber);
  out.Byte(setting.bAlternateSetting);
  out.Byte(setting.bNumEndpoints);
  out.Byte(setting.bInterfaceClass);
  out.Byte(setting.bInterfaceSubClass);
  out.Byte(setting.bInterfaceProtocol);
  out.Byte(setting.iInterface);
  out.Extra(setting.extra, setting.extra_length);
  for (int i = 0; i < setting.bNumEndpoints; ++i) WriteEndpoint(out, setting.endpoint[i]);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> DeviceDescriptorBytes(libusb_device* device) {
  libusb_device_descriptor d{};
  if (libusb_get_device_descriptor(device, &d) != LIBUSB_SUCCESS) return std::nullopt;
  DescriptorWriter out;
  out.Byte(d.bLength);
  out.Byte(d.bDescriptorType);
  out.Word(d.bcdUSB);
  out.Byte(d.bDeviceClass);
  out.Byte(d.bDeviceSubClass);
  out.Byte(d.bDeviceProtocol);
  out.Byte(d.bMaxPacketSize0);
  out.Word(d.idVendor);
  out.Word(d.idProduct);
  out.Word(d.bcdDevice);
  out.Byte(d.iManufacturer);
  out.Byte(d.iProduct);
  out.Byte(d.iSerialNumber);
  out.Byte(d.bNumConfigurations);
  return out.Take();
}

std::optional<std::vector<std::uint8_t>> ConfigurationDescriptorBytes(libusb_device* device,
                                                                      std::uint8_t index) {
  libusb_config_descriptor* config = nullptr;
  if (libusb_get_config_descriptor(device, index, &config) != LIBUSB_SUCCESS) return std::nullopt;
  DescriptorWriter out;
  out.Byte(config->bLength);
  out.Byte(config->bDescriptorType);
  out.Word(config->wTotalLength);
  out.Byte(config->bNumInterfaces);
  out.Byte(config->bConfigurationValue);
  out.Byte(config->iConfiguration);
  out.Byte(config->bmAttributes);
  out.Byte(config->MaxPower);
  out.Extra(config->extra, config->extra_length);
  for (int i = 0; i < config->bNumInterfaces; ++i) {
    const libusb_interface& interface = config->interface[i];
    for (int s = 0; s < interface.num_altsetting; ++s) WriteSetting(out, interface.altsetting[s]);
  }
  libusb_free_config_descriptor(config);
  return out.Take();
}

}  // namespace orlink::driver
