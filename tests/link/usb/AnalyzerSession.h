// The analyzer session that the usb backend's tests replay: run once on the
// virtual analyzer with ORLINK_TRACE on to record the unit's side, and again
// on the usb backend against that recording under umockdev.
#pragma once

#include <functional>
#include <string>

namespace orvane::testing {

// Descriptor reads through the device layer, InitUSB, the identity read
// (serial number, firmware version), TargetGo, MemoryWrite and MemoryRead
// of the length table, MonitorStart, four MonitorRead blocks, MonitorStop,
// CloseUSB. Returns one line per step with its result and the bytes it
// delivered ("MemoryRead 1 00 01 ..."), so two runs can be compared.
std::string RunAnalyzerSession();

// The descriptor reads, InitUSB, TargetGo, MonitorStart, one MonitorRead,
// `unplug`, another MonitorRead (the unit is gone: it fails), Uusbd_Check
// of the device and CloseUSB; lines as above. The virtual run unplugs its
// analyzer, so the trace records the failed monitor read; the replay turns
// that read into a transfer that the kernel ends with "no device", as when
// the unit is pulled while the read waits.
std::string RunUnplugSession(const std::function<void()>& unplug);

}  // namespace orvane::testing
