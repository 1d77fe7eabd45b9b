// The demo network definition: consistent in itself, clean under the
// program's default settings, and shipped unchanged as demo-network.ldf.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "emulator/DemoLdf.h"
#include "emulator/DemoNetwork.h"
#include "emulator/LinFrame.h"

namespace orvane::emulator {
namespace {

const DemoNetwork& Network() { return TheDemoNetwork(); }

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST(DemoNetworkTest, ShippedDescriptionIsWrittenFromTheDefinition) {
  const std::string shipped_path = ORVANE_SOURCE_DIR "/emulator/demo-network.ldf";
  const std::string generated = DemoNetworkLdf(Network());
  if (ReadFile(shipped_path) != generated) {
    const std::string fresh = ORVANE_BINARY_DIR "/demo-network.ldf";
    std::ofstream(fresh, std::ios::binary) << generated;
    FAIL() << shipped_path << " differs from the network definition; the current text is in "
           << fresh << " (copy it over the shipped file)";
  }
}

TEST(DemoNetworkTest, NamesAndTextsFitTheReader) {
  std::set<std::string_view> names;
  const auto add = [&](std::string_view name) {
    EXPECT_FALSE(name.empty());
    EXPECT_LE(name.size(), 31u) << name;
    EXPECT_TRUE(names.insert(name).second) << "duplicate " << name;
  };
  add(Network().master);
  for (std::string_view slave : Network().slaves) add(slave);
  for (const DemoSignal& signal : Network().signals) add(signal.name);
  for (const DemoFrame& frame : Network().frames) add(frame.name);
  for (const SignalEncoding& encoding : Network().encodings) {
    add(encoding.name);
    for (const EncodingValue& value : encoding.values) {
      EXPECT_FALSE(value.text.empty());
      EXPECT_LE(value.text.size(), 31u);
    }
  }
}

TEST(DemoNetworkTest, FramesUseDefaultLengthsAndHoldTheirSignalsWithoutOverlap) {
  std::set<int> ids;
  for (const DemoFrame& frame : Network().frames) {
    SCOPED_TRACE(frame.name);
    EXPECT_TRUE(ids.insert(frame.id).second);
    EXPECT_LT(frame.id, 0x3C);
    // Clean under the program's default identifier definition.
    EXPECT_EQ(frame.length, DefaultDataLength(frame.id));
    std::uint64_t used = 0;
    for (const SignalPlacement& placement : frame.signals) {
      const DemoSignal& signal = Network().Signal(placement.signal);
      EXPECT_EQ(signal.publisher, frame.publisher) << signal.name;
      ASSERT_LE(placement.bit_offset + signal.size_bits, frame.length * 8) << signal.name;
      const std::uint64_t bits = ((std::uint64_t{1} << signal.size_bits) - 1) << placement.bit_offset;
      EXPECT_EQ(used & bits, 0u) << signal.name;
      used |= bits;
    }
  }
}

TEST(DemoNetworkTest, SignalsHaveSubscribersAndValuesTheirEncodingsCover) {
  for (const DemoSignal& signal : Network().signals) {
    SCOPED_TRACE(signal.name);
    EXPECT_FALSE(signal.subscribers.empty());
    EXPECT_EQ(std::ranges::count(signal.subscribers, signal.publisher), 0);
    EXPECT_LE(signal.behaviour.high, (std::uint64_t{1} << signal.size_bits) - 1);
    if (signal.encoding.empty()) continue;
    const auto encoding = std::ranges::find(Network().encodings, signal.encoding, &SignalEncoding::name);
    ASSERT_NE(encoding, Network().encodings.end());
    // Every raw value of the encoding's bit size is covered, so every value
    // the signal takes is.
    std::uint32_t largest = 0;
    for (const EncodingValue& value : encoding->values) largest = std::max(largest, value.max);
    EXPECT_EQ(largest, (std::uint64_t{1} << signal.size_bits) - 1);
    for (std::uint32_t raw = 0; raw <= largest; ++raw) {
      EXPECT_TRUE(std::ranges::any_of(encoding->values, [&](const EncodingValue& value) {
        return value.min <= raw && raw <= value.max;
      })) << raw;
    }
  }
}

TEST(DemoNetworkTest, ScheduleSlotsOutlastTheirFramesAt9600) {
  for (const ScheduleSlot& slot : Network().schedule) {
    const DemoFrame& frame = Network().Frame(slot.frame);
    const double bits = 13 + 1 + 10 + 10 + 2 + 10.0 * (frame.length + 1) + frame.length;
    EXPECT_LT(bits / 9.6, slot.delay_ms) << slot.frame;
  }
}

TEST(DemoNetworkTest, FrameDataPlacesSignalsLeastSignificantBitFirst) {
  const DemoFrame& frame = Network().Frame("GwCommand");
  // Transmission 1: lock request 1, mirror fold 0, alive counter 1,
  // illumination 5; bit 3 is unused and recessive.
  EXPECT_THAT(FrameData(Network(), frame, 1),
              ::testing::ElementsAre(0x19, 0x05, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF));
}

TEST(SignalValueTest, Waveforms) {
  DemoSignal signal;
  signal.behaviour = {Waveform::kTriangle, 10, 16, 3};
  std::vector<std::uint32_t> values;
  for (int n = 0; n < 6; ++n) values.push_back(SignalValue(signal, static_cast<std::uint64_t>(n)));
  EXPECT_THAT(values, ::testing::ElementsAre(10, 13, 16, 13, 10, 13));
  signal.behaviour = {Waveform::kRamp, 0, 9, 4};
  EXPECT_EQ(SignalValue(signal, 3), 2u);
  signal.behaviour = {Waveform::kToggle, 0, 1, 2};
  EXPECT_EQ(SignalValue(signal, 1), 0u);
  EXPECT_EQ(SignalValue(signal, 2), 1u);
  signal.behaviour = {Waveform::kCounter, 0, 15, 1};
  EXPECT_EQ(SignalValue(signal, 17), 1u);
}

}  // namespace
}  // namespace orvane::emulator
