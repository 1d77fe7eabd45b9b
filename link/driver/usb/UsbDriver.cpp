#include "link/driver/usb/UsbDriver.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "link/Bytes.h"
#include "link/driver/PipeName.h"
#include "link/driver/usb/UsbDescriptors.h"
#include "link/driver/usb/UsbDeviceList.h"

namespace orlink::driver {
namespace {

constexpr int kInterface = 0;
constexpr std::uint16_t kEndpointRecipient = 2;
constexpr std::uint8_t kEndpointStatusRequestType = 0x82;  // standard, in, endpoint
constexpr auto kEventWait = std::chrono::milliseconds(100);

unsigned TimeoutMs() {
  return static_cast<unsigned>(UsbDriver::kTransferTimeout.count());
}

// bmRequestType bits (type and recipient) of the request function codes in
// the header's first two bytes: class or vendor, then device, interface,
// endpoint, other.
std::optional<std::uint8_t> RequestType(std::uint16_t function) {
  constexpr std::uint8_t kClass = LIBUSB_REQUEST_TYPE_CLASS;
  constexpr std::uint8_t kVendor = LIBUSB_REQUEST_TYPE_VENDOR;
  for (std::uint8_t recipient = 0; recipient < 4; ++recipient) {
    if (function == kClassFunctions[recipient]) return kClass | recipient;
    if (function == kVendorFunctions[recipient]) return kVendor | recipient;
  }
  return std::nullopt;
}

// Endpoint addresses and types of interface 0, setting 0, in descriptor order.
std::vector<libusb_endpoint_descriptor> InterfaceEndpoints(libusb_device* device) {
  libusb_config_descriptor* config = nullptr;
  if (libusb_get_active_config_descriptor(device, &config) != LIBUSB_SUCCESS) return {};
  std::vector<libusb_endpoint_descriptor> endpoints;
  for (int i = 0; i < config->bNumInterfaces; ++i) {
    const libusb_interface& interface = config->interface[i];
    if (interface.num_altsetting < 1) continue;
    const libusb_interface_descriptor& setting = interface.altsetting[0];
    if (setting.bInterfaceNumber != kInterface) continue;
    endpoints.assign(setting.endpoint, setting.endpoint + setting.bNumEndpoints);
  }
  libusb_free_config_descriptor(config);
  return endpoints;
}

}  // namespace

// One opened device: its handle with interface 0 claimed (a kernel driver
// bound to it detached), released, given back to that kernel driver and
// closed when the last handle or transfer that uses it is gone.
struct UsbDriver::OpenDevice {
  UsbDriver& driver;
  libusb_device_handle* handle;
  const bool detached_kernel_driver;
  std::vector<libusb_endpoint_descriptor> endpoints;
  std::atomic<bool> gone{false};

  OpenDevice(UsbDriver& owner, libusb_device_handle* opened, bool detached)
      : driver(owner),
        handle(opened),
        detached_kernel_driver(detached),
        endpoints(InterfaceEndpoints(libusb_get_device(opened))) {
    std::lock_guard lock(driver.watched_mutex_);
    driver.watched_[libusb_get_device(handle)] = this;
  }

  ~OpenDevice() {
    {
      std::lock_guard lock(driver.watched_mutex_);
      driver.watched_.erase(libusb_get_device(handle));
    }
    libusb_release_interface(handle, kInterface);
    if (detached_kernel_driver) libusb_attach_kernel_driver(handle, kInterface);
    libusb_close(handle);
  }

  // The result of a libusb call, noting that the device has gone.
  int Noted(int status) {
    if (status == LIBUSB_ERROR_NO_DEVICE) gone = true;
    return status;
  }
};

UsbDriver::UsbDriver(libusb_context* context, UsbAllowList allow_list)
    : context_(context),
      allow_list_(std::move(allow_list)),
      has_hotplug_(libusb_has_capability(LIBUSB_CAP_HAS_HOTPLUG) != 0) {}

UsbDriver::~UsbDriver() {
  if (watching_) {
    stop_events_ = true;
    libusb_hotplug_deregister_callback(context_, hotplug_handle_);
    event_thread_.join();
  }
  open_.clear();
  libusb_exit(context_);
}

std::string UsbDriver::Name() const {
  return "usb";
}

std::optional<std::string> UsbDriver::InterfacePath(unsigned member) {
  const UsbDeviceList list(context_);
  const std::vector<libusb_device*> analyzers = list.AllowListed(allow_list_);
  if (member >= analyzers.size()) return std::nullopt;
  return DevicePath(analyzers[member]);
}

Handle UsbDriver::Open(const std::string& name) {
  Target target;
  const std::optional<PipeName> pipe = ParsePipeName(name);
  target.device = Acquire(pipe ? pipe->device_path : name);
  if (!target.device) return kInvalidHandle;
  if (pipe) {
    if (pipe->interface_number != kInterface ||
        pipe->pipe_number >= target.device->endpoints.size()) {
      return kInvalidHandle;
    }
    target.is_device = false;
    target.endpoint = target.device->endpoints[pipe->pipe_number].bEndpointAddress;
  }
  std::lock_guard lock(mutex_);
  const Handle handle = next_handle_++;
  open_.emplace(handle, std::move(target));
  return handle;
}

std::shared_ptr<UsbDriver::OpenDevice> UsbDriver::Acquire(const std::string& path) {
  std::lock_guard lock(mutex_);
  if (auto device = devices_[path].lock(); device && !device->gone) return device;
  std::shared_ptr<OpenDevice> device = OpenAttached(path);
  if (!device) {
    devices_.erase(path);
    return nullptr;
  }
  devices_[path] = device;
  WatchHotplug();
  return device;
}

std::shared_ptr<UsbDriver::OpenDevice> UsbDriver::OpenAttached(const std::string& path) {
  const UsbDeviceList list(context_);
  for (libusb_device* candidate : list.AllowListed(allow_list_)) {
    if (DevicePath(candidate) != path) continue;
    libusb_device_handle* handle = nullptr;
    if (libusb_open(candidate, &handle) != LIBUSB_SUCCESS) return nullptr;
    const bool detached = libusb_kernel_driver_active(handle, kInterface) == 1 &&
                          libusb_detach_kernel_driver(handle, kInterface) == LIBUSB_SUCCESS;
    if (libusb_claim_interface(handle, kInterface) != LIBUSB_SUCCESS) {
      if (detached) libusb_attach_kernel_driver(handle, kInterface);
      libusb_close(handle);
      return nullptr;
    }
    return std::make_shared<OpenDevice>(*this, handle, detached);
  }
  return nullptr;
}

void UsbDriver::WatchHotplug() {
  if (watching_ || !has_hotplug_) return;
  if (libusb_hotplug_register_callback(context_, LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT,
                                       LIBUSB_HOTPLUG_NO_FLAGS, LIBUSB_HOTPLUG_MATCH_ANY,
                                       LIBUSB_HOTPLUG_MATCH_ANY, LIBUSB_HOTPLUG_MATCH_ANY,
                                       OnDeviceLeft, this, &hotplug_handle_) != LIBUSB_SUCCESS) {
    return;
  }
  watching_ = true;
  event_thread_ = std::thread([this] {
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(kEventWait);
    while (!stop_events_) {
      timeval wait{0, static_cast<suseconds_t>(micros.count())};
      libusb_handle_events_timeout_completed(context_, &wait, nullptr);
    }
  });
}

int UsbDriver::OnDeviceLeft(libusb_context*, libusb_device* device, libusb_hotplug_event,
                            void* driver) {
  auto& self = *static_cast<UsbDriver*>(driver);
  std::lock_guard lock(self.watched_mutex_);
  if (const auto watched = self.watched_.find(device); watched != self.watched_.end()) {
    watched->second->gone = true;
  }
  return 0;
}

bool UsbDriver::StillAttached(OpenDevice& device) {
  if (!device.gone && !has_hotplug_ &&
      !UsbDeviceList(context_).Contains(libusb_get_device(device.handle))) {
    device.gone = true;
  }
  return !device.gone;
}

std::optional<UsbDriver::Target> UsbDriver::TargetOf(Handle handle) {
  std::lock_guard lock(mutex_);
  const auto open = open_.find(handle);
  if (open == open_.end()) return std::nullopt;
  return open->second;
}

bool UsbDriver::IoControl(Handle handle, std::uint32_t code, std::span<const std::uint8_t> input,
                          std::span<std::uint8_t> output, std::size_t& returned) {
  returned = 0;
  const std::optional<Target> target = TargetOf(handle);
  if (!target || target->device->gone) return false;
  return (code != kCheckDevice || StillAttached(*target->device)) &&
         Control(*target, code, input, output, returned);
}

bool UsbDriver::Control(const Target& target, std::uint32_t code,
                        std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
                        std::size_t& returned) {
  OpenDevice& device = *target.device;
  const auto transfer = [&](std::uint8_t request_type, std::uint8_t request, std::uint16_t value,
                            std::uint16_t index, std::span<std::uint8_t> data) {
    if (data.size() > 0xFFFF) return false;
    const int result = device.Noted(
        libusb_control_transfer(device.handle, request_type, request, value, index, data.data(),
                                static_cast<std::uint16_t>(data.size()), TimeoutMs()));
    if (result < 0) return false;
    returned = (request_type & LIBUSB_ENDPOINT_IN) ? static_cast<std::size_t>(result) : 0;
    return true;
  };
  const auto field = [&](std::size_t offset) {
    return static_cast<std::uint16_t>(GetLittleEndian(input.subspan(offset, 2)));
  };

  switch (code) {
    case kResetDevice:
      return target.is_device && device.Noted(libusb_reset_device(device.handle)) == 0;
    case kResetPipe:
      return !target.is_device &&
             device.Noted(libusb_clear_halt(device.handle, target.endpoint)) == 0;
    case kControlDeviceToHost:
    case kControlHostToDevice: {
      const bool to_host = code == kControlDeviceToHost;
      if (input.size() < kRequestHeaderSize || (to_host && input.size() != kRequestHeaderSize)) {
        return false;
      }
      const std::optional<std::uint8_t> type = RequestType(field(0));
      if (!type) return false;
      if (to_host)
        return transfer(*type | LIBUSB_ENDPOINT_IN, input[9], field(10), field(12), output);
      std::vector<std::uint8_t> data(input.begin() + kRequestHeaderSize, input.end());
      return transfer(*type, input[9], field(10), field(12), data);
    }
    case kGetDescriptor: {
      if (input.size() != 4) return false;
      libusb_device* usb_device = libusb_get_device(device.handle);
      std::optional<std::vector<std::uint8_t>> cached;
      if (input[0] == LIBUSB_DT_DEVICE) cached = DeviceDescriptorBytes(usb_device);
      if (input[0] == LIBUSB_DT_CONFIG) cached = ConfigurationDescriptorBytes(usb_device, input[1]);
      if (cached) {
        returned = std::min(cached->size(), output.size());
        std::copy_n(cached->begin(), returned, output.begin());
        return true;
      }
      return transfer(LIBUSB_ENDPOINT_IN, LIBUSB_REQUEST_GET_DESCRIPTOR,
                      static_cast<std::uint16_t>(input[0] << 8 | input[1]), field(2), output);
    }
    case kCheckDevice: {
      if (output.size() < 4) return false;
      PutLittleEndian(output.first(4), 1);
      returned = 4;
      return true;
    }
    case kGetEndpointStatus:
      if (input.size() != 4 || output.size() < 2 || field(0) != kEndpointRecipient) return false;
      return transfer(kEndpointStatusRequestType, LIBUSB_REQUEST_GET_STATUS, 0, field(2),
                      output.first(2));
    default:
      return false;
  }
}

bool UsbDriver::Transfer(const Target& target, std::span<std::uint8_t> buffer,
                         std::size_t& transferred) {
  OpenDevice& device = *target.device;
  const auto endpoint = std::ranges::find(device.endpoints, target.endpoint,
                                          &libusb_endpoint_descriptor::bEndpointAddress);
  const bool interrupt =
      (endpoint->bmAttributes & LIBUSB_TRANSFER_TYPE_MASK) == LIBUSB_TRANSFER_TYPE_INTERRUPT;
  int moved = 0;
  const int length = static_cast<int>(std::min<std::size_t>(buffer.size(), 1 << 30));
  const int status =
      device.Noted(interrupt ? libusb_interrupt_transfer(device.handle, target.endpoint,
                                                         buffer.data(), length, &moved, TimeoutMs())
                             : libusb_bulk_transfer(device.handle, target.endpoint, buffer.data(),
                                                    length, &moved, TimeoutMs()));
  transferred = std::min(static_cast<std::size_t>(std::max(moved, 0)), buffer.size());
  return status == LIBUSB_SUCCESS || (status == LIBUSB_ERROR_TIMEOUT && transferred > 0);
}

bool UsbDriver::Read(Handle handle, std::span<std::uint8_t> buffer, std::size_t& transferred) {
  transferred = 0;
  const std::optional<Target> target = TargetOf(handle);
  if (!target || target->is_device || !(target->endpoint & LIBUSB_ENDPOINT_IN) ||
      target->device->gone) {
    return false;
  }
  return Transfer(*target, buffer, transferred);
}

bool UsbDriver::Write(Handle handle, std::span<const std::uint8_t> data, std::size_t& transferred) {
  transferred = 0;
  const std::optional<Target> target = TargetOf(handle);
  if (!target || target->is_device || (target->endpoint & LIBUSB_ENDPOINT_IN) ||
      target->device->gone) {
    return false;
  }
  // libusb takes a mutable buffer for both directions; an out transfer
  // only reads it.
  std::vector<std::uint8_t> copy(data.begin(), data.end());
  return Transfer(*target, copy, transferred) && transferred == data.size();
}

void UsbDriver::Close(Handle handle) {
  Target closed;
  {
    std::lock_guard lock(mutex_);
    const auto open = open_.find(handle);
    if (open == open_.end()) return;
    closed = std::move(open->second);
    open_.erase(open);
  }
  // The device is released here, outside the lock, once no handle or
  // running transfer uses it.
}

std::unique_ptr<Driver> CreateUsbDriver() {
  std::string messages;
  UsbAllowList allow_list = AllowListFromEnvironment(messages);
  if (!messages.empty()) std::fputs(messages.c_str(), stderr);
  libusb_context* context = nullptr;
  if (libusb_init(&context) != LIBUSB_SUCCESS) return nullptr;
  return std::make_unique<UsbDriver>(context, std::move(allow_list));
}

}  // namespace orlink::driver
