// What Wireshark's LIN dissector (tshark) reads in a capture we write: every
// field of every packet, against the records it was written from.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/pattern/TempDir.h"
#include "tests/review/CaptureSamples.h"
#include "tests/support/CliProcess.h"

namespace orvane::review::test {
namespace {

std::string Hex(std::uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*x", digits, value);
  return text;
}

// The fields tshark shows of a record: frame id, length, checksum, errors,
// message type, event id and checksum type after the protected identifier.
struct Expected {
  std::string length, errors, type, event, checksumType;
  bool frame = true;
  std::string checksum = {};  // the record's own when empty
};

std::string Row(int number, const MonitorRecord& record, const Expected& expected) {
  std::string row = std::to_string(number) + ",";
  if (expected.frame) {
    row += Hex(record.ident, 2) + "," + Hex(record.ident & 0x3F, 2) + ",";
  } else {
    row += ",,";
  }
  row += expected.length + ",";
  if (expected.frame)
    row += expected.checksum.empty() ? Hex(record.checksum, 2) : expected.checksum;
  row += "," + expected.errors + "," + expected.type + "," + expected.event + "," +
         expected.checksumType;
  return row;
}

// Runs tshark with `arguments`; its stdout, or nothing when it failed.
std::optional<std::string> Tshark(const std::string& arguments) {
  std::FILE* pipe = ::popen(("tshark " + arguments + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return std::nullopt;
  std::string out;
  char buffer[4096];
  for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    out.append(buffer, read);
  const int status = ::pclose(pipe);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return out;
}

TEST(Tshark, DissectsEveryFieldOfFramesErrorsAndEvents) {
  const std::vector<MonitorRecord> records = VariedRecords();
  pattern::testing::TempDir dir;
  const std::vector<std::uint8_t> bytes = WriteCapture(records, DefaultLengths(), {});
  const std::filesystem::path path = dir.Write(
      "varied.pcapng", std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  const std::optional<std::string> fields = Tshark(
      "-r '" + path.string() +
      "' -T fields -E separator=, -e frame.number -e lin.protected_id -e lin.frame_id -e lin.length"
      " -e lin.checksum -e lin.errors -e lin.message_type -e lin.event_id -e lin.checksum_type");
  // Nothing malformed, no expert warning or error in any packet (our
  // comments are expert notes of their own).
  const std::optional<std::string> complaints =
      Tshark("-r '" + path.string() + "' -Y '_ws.malformed || _ws.expert.severity >= 0x00600000'");
  const std::optional<std::string> comments =
      Tshark("-r '" + path.string() + "' -T fields -e frame.comment -c 1");
  ASSERT_TRUE(fields && complaints && comments);
  EXPECT_EQ(*complaints, "");
  EXPECT_EQ(*comments, "Orvane node=2 flags=0 kind=1 error=0 sync=85\n");
  const std::string& out = *fields;

  const auto event = [](const char* id) { return Expected{"0", "0x00", "3", id, "", false}; };
  // Per packet: the source record (the extended header stands for its group).
  const std::vector<std::pair<std::size_t, Expected>> packets = {
      {0, {"2", "0x00", "0", "", "1"}},
      {1, {"8", "0x00", "0", "", "1"}},
      {2, {"4", "0x00", "0", "", "2"}},
      {3, {"4", "0x00", "0", "", "0"}},  // a request: no complete response
      {4, {"8", "0x08", "0", "", "0"}},  // checksum error
      {5, {"0", "0x01", "0", "", "0"}},  // no slave response
      {6, {"0", "0x04", "0", "", "0"}},  // parity
      {7, {"2", "0x20", "0", "", "0"}},  // overrun
      {8, {"0", "0x20", "0", "", "0"}},  // buffer
      {9, {"0", "0x02", "0", "", "0"}},  // sync field: framing
      {10, event("0xb0b00001")},
      {11, event("0xb0b00002")},
      {12, event("0xb0b00004")},
      {13, event("0x4f560007")},
      {14, event("0x4f56000a")},
      {15, event("0x4f56000f")},
      {16, {"8", "0x00", "0", "", "0", true, "0x00"}},  // extended frame: its first 8 bytes
      {19, {"2", "0x00", "0", "", "1"}},
  };
  std::vector<std::string> expected;
  for (std::size_t index = 0; index < packets.size(); ++index) {
    const auto& [source, fields] = packets[index];
    expected.push_back(Row(static_cast<int>(index + 1), records[source], fields));
  }
  EXPECT_THAT(orvane::testing::Lines(out, "\n"), ::testing::ElementsAreArray(expected)) << out;
}

}  // namespace
}  // namespace orvane::review::test
