#include "review/SignalCsv.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <vector>

#include "signals/LdfParser.h"
#include "tests/monitor/RecordBuilders.h"

namespace orvane::review {
namespace {

using monitor::MonitorRecord;
using monitor::test::ExtendedGroup;
using monitor::test::Frame;

constexpr std::string_view kDescription = R"(
LIN_description_file;
LIN_protocol_version = "2.1";
LIN_language_version = "2.1";
LIN_speed = 19.2 kbps;
Nodes {
  Master: Gateway, 10 ms, 0.1 ms;
  Slaves: Door;
}
Signals {
  DoorOpen: 1, 0, Door, Gateway;
  Window: 8, 0, Door, Gateway;
  Label: 16, 0, Door, Gateway;
  Counter: 4, 0, Gateway, Door;
}
Frames {
  DoorStatus: 0x11, Door, 4 {
    DoorOpen, 0;
    Window, 8;
    Label, 16;
  }
  GwCommand: 0x05, Gateway, 1 {
    Counter, 0;
  }
}
Signal_encoding_types {
  OpenState {
    logical_value, 0, "closed";
    logical_value, 1, "open, latched";
  }
  Percent {
    physical_value, 0, 250, 0.4, 0, "%";
    physical_value, 251, 254, 1, 0, "reserved";
    logical_value, 255, "invalid";
  }
  Text {
    ascii_value;
  }
}
Signal_representation {
  OpenState: DoorOpen;
  Percent: Window;
  Text: Label;
}
)";

class SignalCsvTest : public ::testing::Test {
 protected:
  void SetUp() override {
    signals::ParseOutcome outcome =
        signals::ParseLinDescription(kDescription, signals::kDefaultSectionMask);
    ASSERT_TRUE(outcome.description) << outcome.failedCheck;
    description_ = std::move(outcome.description);
  }

  std::string Csv(const std::vector<std::string>& names,
                  const std::vector<MonitorRecord>& records) {
    std::ostringstream out;
    WriteSignalCsv(out, *description_, names, records);
    return out.str();
  }

  // Frames received, and records that are not: a request, a frame with a
  // checksum error, a frame of an identifier without description, and an
  // extended frame whose continuation record looks like a DoorStatus frame.
  static std::vector<MonitorRecord> Recording() {
    MonitorRecord door = Frame(1234, 0x91);  // protected identifier of 0x11
    const std::uint8_t data[8] = {0x01, 0x64, 0x22, 0x2C, 0, 0, 0, 0};
    std::copy(std::begin(data), std::end(data), door.data);
    MonitorRecord command = Frame(-1000, 0x05);
    command.data[0] = 0xF7;
    MonitorRecord request = door;
    request.kind = monitor::kKindRequest;
    MonitorRecord damaged = door;
    damaged.error = monitor::kErrorChecksum;
    std::vector<MonitorRecord> records{door, command, request, damaged, Frame(5, 0x20)};
    std::vector<MonitorRecord> group = ExtendedGroup(7, 0x11, 30);
    std::memcpy(&group[1], &door, sizeof door);
    records.insert(records.end(), group.begin(), group.end());
    door.time = 90'000'000;
    door.data[0] = 0;
    door.data[1] = 251;
    records.push_back(door);
    return records;
  }

  std::unique_ptr<signals::LinDescription> description_;
};

TEST_F(SignalCsvTest, EverySignalOfEveryReceivedFrame) {
  EXPECT_EQ(Csv({}, Recording()),
            "Time,Frame,Signal,Raw,Value\r\n"
            "00:00:01.234,DoorStatus,DoorOpen,1,\"open, latched\"\r\n"
            "00:00:01.234,DoorStatus,Window,100,40 (%)\r\n"
            "00:00:01.234,DoorStatus,Label,11298,\"\"\",\"\r\n"
            "-00:00:01.000,GwCommand,Counter,7,\r\n"
            "25:00:00.000,DoorStatus,DoorOpen,0,closed\r\n"
            "25:00:00.000,DoorStatus,Window,251,251 (reserved)\r\n"
            "25:00:00.000,DoorStatus,Label,11298,\"\"\",\"\r\n");
}

TEST_F(SignalCsvTest, OnlyTheSelectedSignals) {
  EXPECT_EQ(Csv({"Counter", "Window", "NotInTheDescription"}, Recording()),
            "Time,Frame,Signal,Raw,Value\r\n"
            "00:00:01.234,DoorStatus,Window,100,40 (%)\r\n"
            "-00:00:01.000,GwCommand,Counter,7,\r\n"
            "25:00:00.000,DoorStatus,Window,251,251 (reserved)\r\n");
  EXPECT_EQ(Csv({"NotInTheDescription"}, Recording()), "Time,Frame,Signal,Raw,Value\r\n");
}

}  // namespace
}  // namespace orvane::review
