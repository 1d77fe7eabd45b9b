// Driver backend "usb": the generic driver on libusb-1.0, for real
// analyzers.
//
// Enumeration lists the attached devices whose vendor:product pair is on
// the allow-list, ordered by device path ("usb:1-2.4", see UsbDeviceList).
// Opening a device path opens the device, detaches a kernel driver bound to
// interface 0 (reattached at the end) and claims the interface; a pipe name "<path>\if000pipeNNN"
// opens pipe NNN, the NNN-th endpoint of interface 0 in descriptor order. The device stays open
// until its last device or pipe handle is closed.
//
// Control codes on any handle of a device:
//   0x220004 reset device   libusb_reset_device (device handle only)
//   0x220008 reset pipe     libusb_clear_halt of the pipe's endpoint (pipe handle only)
//   0x22000C / 0x220010     class or vendor control transfer in / out, set up
//                           from the 16-byte request header (function code
//                           at 0 gives type and recipient, bRequest at 9,
//                           wValue at 10, wIndex at 12; data after the
//                           header for host-to-device)
//   0x220014 get descriptor input: type, index, language id. Device and
//                           configuration descriptors as libusb read them
//                           at enumeration (UsbDescriptors); other types
//                           by a GET_DESCRIPTOR request
//   0x220018 check device   4-byte word, 1 while the device is attached
//   0x220020 endpoint status GET_STATUS to the endpoint of the input's
//                           bytes 2-3 (recipient at 0-1 must be 2)
//
// Reads wait up to kTransferTimeout for the device and report what it
// delivered, never more than asked (a timeout after some bytes is a short
// read; after none a failure, as the virtual analyzer's reply pipe fails
// when no reply comes). The limit is generous beside the unit's 20 ms
// monitor blocks and its reply times, so that a unit that stops answering
// fails a command instead of hanging it. Once the device is gone (hot-plug
// event, a transfer ending in "no device", or, where libusb has no hot-plug,
// missing from its list at a presence check) every operation on it but
// Close fails at once.
//
// Threads: any operation from any thread; transfers hold no lock of this
// driver. Where libusb has hot-plug support one event thread runs while
// devices are open.
#pragma once

#include <libusb.h>

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "link/driver/Driver.h"
#include "link/driver/usb/UsbAllowList.h"

namespace orlink::driver {

class UsbDriver final : public Driver {
 public:
  static constexpr std::chrono::milliseconds kTransferTimeout{1000};

  // `context` is owned and exited by the driver.
  UsbDriver(libusb_context* context, UsbAllowList allow_list);
  ~UsbDriver() override;

  std::string Name() const override;
  std::optional<std::string> InterfacePath(unsigned member) override;
  Handle Open(const std::string& name) override;
  bool IoControl(Handle handle, std::uint32_t code, std::span<const std::uint8_t> input,
                 std::span<std::uint8_t> output, std::size_t& returned) override;
  bool Read(Handle handle, std::span<std::uint8_t> buffer, std::size_t& transferred) override;
  bool Write(Handle handle, std::span<const std::uint8_t> data, std::size_t& transferred) override;
  void Close(Handle handle) override;

 private:
  struct OpenDevice;
  struct Target {
    std::shared_ptr<OpenDevice> device;
    bool is_device = true;
    std::uint8_t endpoint = 0;
  };

  std::shared_ptr<OpenDevice> Acquire(const std::string& path);
  std::shared_ptr<OpenDevice> OpenAttached(const std::string& path);
  std::optional<Target> TargetOf(Handle handle);
  // Where there is no hot-plug, looks for the device in libusb's list.
  bool StillAttached(OpenDevice& device);
  bool Control(const Target& target, std::uint32_t code, std::span<const std::uint8_t> input,
               std::span<std::uint8_t> output, std::size_t& returned);
  bool Transfer(const Target& target, std::span<std::uint8_t> buffer, std::size_t& transferred);
  void WatchHotplug();
  static int OnDeviceLeft(libusb_context* context, libusb_device* device,
                          libusb_hotplug_event event, void* driver);

  libusb_context* context_;
  const UsbAllowList allow_list_;
  const bool has_hotplug_;

  std::mutex mutex_;
  std::map<Handle, Target> open_;
  std::map<std::string, std::weak_ptr<OpenDevice>> devices_;
  Handle next_handle_ = 1;

  // Devices the hot-plug callback may mark gone.
  std::mutex watched_mutex_;
  std::map<libusb_device*, OpenDevice*> watched_;

  bool watching_ = false;
  libusb_hotplug_callback_handle hotplug_handle_ = 0;
  std::atomic<bool> stop_events_{false};
  std::thread event_thread_;
};

// A usb backend on a fresh libusb context with the allow-list of
// AllowListFromEnvironment (its messages go to stderr); nullptr when libusb
// cannot be initialised.
std::unique_ptr<Driver> CreateUsbDriver();

}  // namespace orlink::driver
