// Records the unit's side of an analyzer session for the usb backend's
// tests: runs the session on the virtual analyzer with ORLINK_TRACE on,
// then converts the trace for umockdev.
//
//   usb_script_generator session|unplug PREFIX
//
// writes PREFIX.trace (the ORLINK_TRACE), PREFIX.umockdev (the sysfs
// device), PREFIX.ioctl (the usbdevfs script) and PREFIX.expected (the
// session's results, which the replay must reproduce).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "emulator/VirtualAnalyzer.h"
#include "link/Runtime.h"
#include "link/Seams.h"
#include "tests/link/usb/AnalyzerSession.h"
#include "tests/link/usb/TraceToUmockdev.h"

namespace {

using namespace orvane::testing;

bool Write(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  return static_cast<bool>(file);
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "usb_script_generator: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string session = argc == 3 ? argv[1] : "";
  if (session != "session" && session != "unplug") {
    return Fail("usage: usb_script_generator session|unplug PREFIX");
  }
  const std::string prefix = argv[2];
  std::filesystem::remove(prefix + ".trace");
  ::setenv("ORLINK_DEVICE", "virtual", 1);
  ::setenv("ORLINK_TRACE", (prefix + ".trace").c_str(), 1);
  ::unsetenv("ORLINK_VIRTUAL_PROFILE");

  const std::string expected = session == "session" ? RunAnalyzerSession() : RunUnplugSession([] {
    orlink::ActiveDriver()->SimulatedAnalyzer()->Unplug();
  });
  orlink::SetDriver(nullptr);  // closes the trace file

  std::vector<TraceLine> trace;
  std::ifstream trace_file(prefix + ".trace");
  for (std::string text; std::getline(trace_file, text);) {
    const auto line = ParseTraceLine(text);
    if (!line) return Fail(prefix + ".trace: not a trace line: " + text);
    trace.push_back(*line);
  }
  const auto recording = ConvertTrace(trace);
  if (!recording) return Fail(prefix + ".trace: no descriptors or an unknown pipe");
  if (!Write(prefix + ".umockdev", recording->device) ||
      !Write(prefix + ".ioctl", recording->ioctl) || !Write(prefix + ".expected", expected)) {
    return Fail("cannot write " + prefix + ".*");
  }
  return 0;
}
