#include "tests/link/ScriptedDriver.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orlink::testing {
namespace {

std::string Hex(std::span<const std::uint8_t> bytes) {
  std::string text;
  char digits[4];
  for (const std::uint8_t byte : bytes) {
    std::snprintf(digits, sizeof digits, "%02x ", byte);
    text += digits;
  }
  return text;
}

}  // namespace

ScriptedDriver& ScriptedDriver::Add(Step step) {
  script_.push_back(std::move(step));
  return *this;
}

ScriptedDriver& ScriptedDriver::ExpectInterfacePath(unsigned member,
                                                    std::optional<std::string> path) {
  return Add({.call = Call::kInterfacePath, .member = member, .text = std::move(path)});
}

ScriptedDriver& ScriptedDriver::ExpectOpen(const std::string& name, Handle result) {
  return Add({.call = Call::kOpen, .text = name, .handle = result});
}

ScriptedDriver& ScriptedDriver::ExpectIoControl(Handle handle, std::uint32_t code, Bytes input,
                                                std::size_t output_capacity, Bytes output,
                                                bool ok) {
  return Add({.call = Call::kIoControl,
              .handle = handle,
              .code = code,
              .input = std::move(input),
              .capacity = output_capacity,
              .output = std::move(output),
              .ok = ok});
}

ScriptedDriver& ScriptedDriver::ExpectRead(Handle handle, std::size_t capacity, Bytes delivered) {
  return Add({.call = Call::kRead,
              .handle = handle,
              .capacity = capacity,
              .output = std::move(delivered)});
}

ScriptedDriver& ScriptedDriver::ExpectFailedRead(Handle handle, std::size_t capacity) {
  return Add({.call = Call::kRead, .handle = handle, .capacity = capacity, .ok = false});
}

ScriptedDriver& ScriptedDriver::ExpectWrite(Handle handle, Bytes data, bool ok) {
  return Add({.call = Call::kWrite, .handle = handle, .input = std::move(data), .ok = ok});
}

ScriptedDriver& ScriptedDriver::ExpectClose(Handle handle) {
  return Add({.call = Call::kClose, .handle = handle});
}

std::optional<ScriptedDriver::Step> ScriptedDriver::Next(Call call,
                                                         const std::string& description) {
  if (ended_) return std::nullopt;
  if (script_.empty() || script_.front().call != call) {
    ADD_FAILURE() << "unexpected driver call: " << description << " ("
                  << (script_.empty() ? "script ended" : "another call was scripted") << ")";
    return std::nullopt;
  }
  Step step = std::move(script_.front());
  script_.pop_front();
  return step;
}

std::optional<std::string> ScriptedDriver::InterfacePath(unsigned member) {
  const auto step = Next(Call::kInterfacePath, "InterfacePath(" + std::to_string(member) + ")");
  if (!step) return std::nullopt;
  EXPECT_EQ(member, step->member);
  return step->text;
}

Handle ScriptedDriver::Open(const std::string& name) {
  const auto step = Next(Call::kOpen, "Open(" + name + ")");
  if (!step) return driver::kInvalidHandle;
  EXPECT_EQ(name, *step->text);
  return step->handle;
}

bool ScriptedDriver::IoControl(Handle handle, std::uint32_t code,
                               std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
                               std::size_t& returned) {
  returned = 0;
  const auto step = Next(Call::kIoControl, "IoControl(" + std::to_string(code) + ", " +
                                               Hex(input) + ")");
  if (!step) return false;
  EXPECT_EQ(handle, step->handle);
  EXPECT_EQ(code, step->code);
  EXPECT_EQ(Hex(input), Hex(step->input));
  EXPECT_EQ(output.size(), step->capacity);
  if (!step->ok) return false;
  returned = std::min(output.size(), step->output.size());
  std::copy_n(step->output.begin(), returned, output.begin());
  return true;
}

bool ScriptedDriver::Read(Handle handle, std::span<std::uint8_t> buffer,
                          std::size_t& transferred) {
  transferred = 0;
  const auto step = Next(Call::kRead, "Read(" + std::to_string(handle) + ")");
  if (!step) return false;
  EXPECT_EQ(handle, step->handle);
  EXPECT_EQ(buffer.size(), step->capacity);
  if (!step->ok || step->output.size() > buffer.size()) return false;
  std::ranges::copy(step->output, buffer.begin());
  transferred = step->output.size();
  return true;
}

bool ScriptedDriver::Write(Handle handle, std::span<const std::uint8_t> data,
                           std::size_t& transferred) {
  transferred = 0;
  const auto step = Next(Call::kWrite, "Write(" + Hex(data) + ")");
  if (!step) return false;
  EXPECT_EQ(handle, step->handle);
  EXPECT_EQ(Hex(data), Hex(step->input));
  if (!step->ok) return false;
  transferred = data.size();
  return true;
}

void ScriptedDriver::Close(Handle handle) {
  const auto step = Next(Call::kClose, "Close(" + std::to_string(handle) + ")");
  if (step) {
    EXPECT_EQ(handle, step->handle);
  }
}

Bytes DeviceDescriptor(std::uint8_t device_class, std::uint8_t device_subclass,
                       std::uint16_t vendor_id, std::uint16_t product_id, std::uint16_t release) {
  const auto low = [](std::uint16_t value) { return static_cast<std::uint8_t>(value); };
  const auto high = [](std::uint16_t value) { return static_cast<std::uint8_t>(value >> 8); };
  return {18,          1,           0x00,       0x02,           device_class,  device_subclass,
          0,           64,          low(vendor_id), high(vendor_id), low(product_id),
          high(product_id), low(release), high(release), 1, 2, 3, 1};
}

}  // namespace orlink::testing
