#include "link/driver/TracingDriver.h"

#include <cerrno>
#include <cstring>

#include "link/driver/PipeName.h"

namespace orlink::driver {
namespace {

void AppendHex(std::string& line, std::span<const std::uint8_t> bytes) {
  char digits[4];
  for (const std::uint8_t byte : bytes) {
    std::snprintf(digits, sizeof digits, " %02x", byte);
    line += digits;
  }
}

const char* ResultText(bool ok) { return ok ? "ok" : "failed"; }

}  // namespace

TracingDriver::TracingDriver(std::unique_ptr<Driver> inner, std::FILE* trace)
    : inner_(std::move(inner)), trace_(trace) {}

TracingDriver::~TracingDriver() { std::fclose(trace_); }

std::string TracingDriver::Name() const { return inner_->Name(); }

std::optional<std::string> TracingDriver::InterfacePath(unsigned member) {
  return inner_->InterfacePath(member);
}

Handle TracingDriver::Open(const std::string& name) {
  const Handle handle = inner_->Open(name);
  const auto suffix = PipeSuffix(name);
  if (handle != kInvalidHandle && suffix) {
    std::lock_guard lock(mutex_);
    pipe_labels_[handle] = std::string(*suffix);
  }
  return handle;
}

bool TracingDriver::IoControl(Handle handle, std::uint32_t code,
                              std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
                              std::size_t& returned) {
  const bool ok = inner_->IoControl(handle, code, input, output, returned);
  char where[16];
  std::snprintf(where, sizeof where, "0x%06x", code);
  std::string line = std::string("ctl ") + where + " " + ResultText(ok);
  AppendHex(line, input);
  line += " ->";
  if (ok) AppendHex(line, output.first(std::min(returned, output.size())));
  Record(line);
  return ok;
}

bool TracingDriver::Read(Handle handle, std::span<std::uint8_t> buffer,
                         std::size_t& transferred) {
  const bool ok = inner_->Read(handle, buffer, transferred);
  std::string line = "in " + PipeLabel(handle) + " " + ResultText(ok);
  if (ok) AppendHex(line, buffer.first(std::min(transferred, buffer.size())));
  Record(line);
  return ok;
}

bool TracingDriver::Write(Handle handle, std::span<const std::uint8_t> data,
                          std::size_t& transferred) {
  const bool ok = inner_->Write(handle, data, transferred);
  std::string line = "out " + PipeLabel(handle) + " " + ResultText(ok);
  AppendHex(line, data);
  Record(line);
  return ok;
}

void TracingDriver::Close(Handle handle) {
  {
    std::lock_guard lock(mutex_);
    pipe_labels_.erase(handle);
  }
  inner_->Close(handle);
}

std::string TracingDriver::PipeLabel(Handle handle) {
  std::lock_guard lock(mutex_);
  const auto label = pipe_labels_.find(handle);
  return label != pipe_labels_.end() ? label->second : "handle" + std::to_string(handle);
}

void TracingDriver::Record(const std::string& line) {
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start_;
  std::lock_guard lock(mutex_);
  std::fprintf(trace_, "%.6f %s\n", elapsed.count(), line.c_str());
  std::fflush(trace_);
}

std::unique_ptr<Driver> TraceTo(std::unique_ptr<Driver> inner, const std::string& path) {
  std::FILE* trace = std::fopen(path.c_str(), "a");
  if (trace == nullptr) {
    std::fprintf(stderr, "orlink: cannot open the trace file %s (%s); tracing is off\n",
                 path.c_str(), std::strerror(errno));
    return inner;
  }
  return std::make_unique<TracingDriver>(std::move(inner), trace);
}

orvane::emulator::VirtualAnalyzer* TracingDriver::SimulatedAnalyzer() {
  return inner_->SimulatedAnalyzer();
}

}  // namespace orlink::driver
