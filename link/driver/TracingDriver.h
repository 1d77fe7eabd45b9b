// A driver decorator that records every transfer, like a USB monitor.
//
// Each pipe transfer (Read, Write) and each I/O control appends one line
// to the trace file:
//
//   <seconds> <direction> <where> <result>[ <bytes>]
//
//   seconds    time since the trace began, "%.6f"
//   direction  "out" (write, host to device), "in" (read, device to host)
//              or "ctl" (I/O control)
//   where      the pipe as its name's suffix ("if000pipe002") for "out" and
//              "in", the control code ("0x220014") for "ctl"
//   result     "ok" or "failed"
//   bytes      two-digit lower-case hexadecimal numbers separated by single
//              blanks: the bytes written, or the bytes read; for "ctl" the
//              input bytes, then "->", then the output bytes returned
//
// Enumeration, Open and Close pass through unrecorded. Lines from several
// threads never interleave: each is written and flushed whole under a lock.
#pragma once

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "link/driver/Driver.h"

namespace orlink::driver {

class TracingDriver final : public Driver {
 public:
  // Takes ownership of the open trace file.
  TracingDriver(std::unique_ptr<Driver> inner, std::FILE* trace);
  ~TracingDriver() override;

  std::string Name() const override;
  std::optional<std::string> InterfacePath(unsigned member) override;
  Handle Open(const std::string& name) override;
  bool IoControl(Handle handle, std::uint32_t code, std::span<const std::uint8_t> input,
                 std::span<std::uint8_t> output, std::size_t& returned) override;
  bool Read(Handle handle, std::span<std::uint8_t> buffer, std::size_t& transferred) override;
  bool Write(Handle handle, std::span<const std::uint8_t> data,
             std::size_t& transferred) override;
  void Close(Handle handle) override;
  orvane::emulator::VirtualAnalyzer* SimulatedAnalyzer() override;

 private:
  std::string PipeLabel(Handle handle);
  void Record(const std::string& line);

  std::unique_ptr<Driver> inner_;
  std::FILE* trace_;
  const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::mutex mutex_;
  std::map<Handle, std::string> pipe_labels_;
};

// `inner` traced into the file at `path` (appended to). When the file
// cannot be opened, says so on stderr and returns `inner` untraced.
std::unique_ptr<Driver> TraceTo(std::unique_ptr<Driver> inner, const std::string& path);

}  // namespace orlink::driver
