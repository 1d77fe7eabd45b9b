// A driver that follows a script: the list of calls the code under test
// must make, in order, with the answers to give. Any call that differs from
// the next scripted one fails the running test and gets a failure answer.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "link/driver/Driver.h"

namespace orlink::testing {

using Bytes = std::vector<std::uint8_t>;
using driver::Handle;

class ScriptedDriver final : public driver::Driver {
 public:
  // Enumeration of `member` answers `path` (nothing ends enumeration).
  ScriptedDriver& ExpectInterfacePath(unsigned member, std::optional<std::string> path);
  ScriptedDriver& ExpectOpen(const std::string& name, Handle result);
  // I/O control with exactly this input and an output buffer of
  // `output_capacity` bytes; answers `output` when ok.
  ScriptedDriver& ExpectIoControl(Handle handle, std::uint32_t code, Bytes input,
                                  std::size_t output_capacity, Bytes output, bool ok = true);
  // Read into a buffer of `capacity` bytes that delivers `delivered`.
  ScriptedDriver& ExpectRead(Handle handle, std::size_t capacity, Bytes delivered);
  ScriptedDriver& ExpectFailedRead(Handle handle, std::size_t capacity);
  ScriptedDriver& ExpectWrite(Handle handle, Bytes data, bool ok = true);
  ScriptedDriver& ExpectClose(Handle handle);

  std::size_t Remaining() const { return script_.size(); }
  // Ends checking: from now on calls are accepted unchecked (Close) or fail.
  void EndScript() { ended_ = true; }

  std::string Name() const override { return "scripted"; }
  std::optional<std::string> InterfacePath(unsigned member) override;
  Handle Open(const std::string& name) override;
  bool IoControl(Handle handle, std::uint32_t code, std::span<const std::uint8_t> input,
                 std::span<std::uint8_t> output, std::size_t& returned) override;
  bool Read(Handle handle, std::span<std::uint8_t> buffer, std::size_t& transferred) override;
  bool Write(Handle handle, std::span<const std::uint8_t> data,
             std::size_t& transferred) override;
  void Close(Handle handle) override;

 private:
  enum class Call { kInterfacePath, kOpen, kIoControl, kRead, kWrite, kClose };
  struct Step {
    Call call;
    unsigned member = 0;
    std::optional<std::string> text{};  // path answered, or name opened
    Handle handle = driver::kInvalidHandle;
    std::uint32_t code = 0;
    Bytes input{};   // expected input or written data
    std::size_t capacity = 0;
    Bytes output{};  // answered output or delivered data
    bool ok = true;
  };

  ScriptedDriver& Add(Step step);
  // The next step when it is of this kind; records a test failure otherwise.
  std::optional<Step> Next(Call call, const std::string& description);

  std::deque<Step> script_;
  bool ended_ = false;
};

// An 18-byte device descriptor with these identity fields.
Bytes DeviceDescriptor(std::uint8_t device_class, std::uint8_t device_subclass,
                       std::uint16_t vendor_id, std::uint16_t product_id, std::uint16_t release);

}  // namespace orlink::testing
