// The demo LIN network the virtual analyzer is attached to: one external
// master and four slaves, their frames and signals with changing values,
// the signal encodings, and the master's schedule.
//
// This definition is the single source of the network: the simulated nodes
// send from it and emulator/demo-network.ldf is written from it (DemoLdf).
//
// Constant data and pure functions; any thread may call them.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace orvane::emulator {

inline constexpr int kMasterNode = -1;  // node index of the master; slaves are 0, 1, ...

struct EncodingValue {
  enum class Kind { kLogical, kPhysical };
  Kind kind = Kind::kLogical;
  std::uint32_t min = 0;  // the value of a logical entry
  std::uint32_t max = 0;  // equals min for a logical entry
  double scale = 1;
  double offset = 0;
  std::string_view text;
};

struct SignalEncoding {
  std::string_view name;
  std::vector<EncodingValue> values;
};

// How a signal's raw value moves from one transmission of its frame to the next.
enum class Waveform {
  kCounter,   // low, low + 1, ... high, low, ...
  kRamp,      // low + step * n, wrapping within low..high
  kTriangle,  // low up to high and back down in steps of `step`
  kToggle,    // low for `step` transmissions, then high for `step`, ...
};

struct SignalBehaviour {
  Waveform waveform = Waveform::kCounter;
  std::uint32_t low = 0;
  std::uint32_t high = 0;
  std::uint32_t step = 1;
};

struct DemoSignal {
  std::string_view name;
  int size_bits = 1;
  int publisher = kMasterNode;
  std::vector<int> subscribers;
  std::string_view encoding;  // empty when the signal has none
  SignalBehaviour behaviour;
};

struct SignalPlacement {
  std::string_view signal;
  int bit_offset = 0;
};

struct DemoFrame {
  std::string_view name;
  std::uint8_t id = 0;
  int publisher = kMasterNode;
  int length = 2;
  std::vector<SignalPlacement> signals;
};

struct ScheduleSlot {
  std::string_view frame;
  int delay_ms = 10;  // slot time from this frame's start to the next one's
};

struct DemoNetwork {
  std::string_view protocol_version;
  double speed_kbps = 9.6;
  std::string_view master;
  double time_base_ms = 10;
  double jitter_ms = 0.1;
  std::vector<std::string_view> slaves;
  std::vector<DemoSignal> signals;
  std::vector<DemoFrame> frames;
  std::vector<SignalEncoding> encodings;
  std::string_view schedule_name;
  std::vector<ScheduleSlot> schedule;

  const DemoSignal& Signal(std::string_view name) const;
  const DemoFrame& Frame(std::string_view name) const;
  // The frame carrying identifier `id`, or nullptr.
  const DemoFrame* FrameWithId(std::uint8_t id) const;
  std::string_view NodeName(int node) const;
};

const DemoNetwork& TheDemoNetwork();

// A signal's raw value at the n-th transmission (n = 0, 1, ...) of its
// frame; its initial value is the one of transmission 0.
std::uint32_t SignalValue(const DemoSignal& signal, std::uint64_t transmission);

// The data bytes of `frame` at its n-th transmission: every signal placed at
// its bit offset (least significant bit first), unused bits recessive (1).
std::array<std::uint8_t, 8> FrameData(const DemoNetwork& network, const DemoFrame& frame,
                                      std::uint64_t transmission);

}  // namespace orvane::emulator
