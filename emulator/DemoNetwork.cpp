#include "emulator/DemoNetwork.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace orvane::emulator {
namespace {

constexpr int kDoorLeft = 0;
constexpr int kDoorRight = 1;
constexpr int kClimate = 2;
constexpr int kRainLight = 3;

using Kind = EncodingValue::Kind;

EncodingValue Logical(std::uint32_t value, std::string_view text) {
  return {Kind::kLogical, value, value, 1, 0, text};
}

EncodingValue Physical(std::uint32_t min, std::uint32_t max, double scale, double offset,
                       std::string_view text) {
  return {Kind::kPhysical, min, max, scale, offset, text};
}

SignalBehaviour Counter(std::uint32_t high) { return {Waveform::kCounter, 0, high, 1}; }
SignalBehaviour Ramp(std::uint32_t low, std::uint32_t high, std::uint32_t step) {
  return {Waveform::kRamp, low, high, step};
}
SignalBehaviour Triangle(std::uint32_t low, std::uint32_t high, std::uint32_t step) {
  return {Waveform::kTriangle, low, high, step};
}
SignalBehaviour Toggle(std::uint32_t every) { return {Waveform::kToggle, 0, 1, every}; }

DemoNetwork MakeDemoNetwork() {
  DemoNetwork network;
  network.protocol_version = "1.3";
  network.speed_kbps = 9.6;
  network.master = "Gateway";
  network.time_base_ms = 10;
  network.jitter_ms = 0.1;
  network.slaves = {"DoorLeft", "DoorRight", "Climate", "RainLight"};

  const std::vector<int> doors = {kDoorLeft, kDoorRight};
  const std::vector<int> everyone = {kDoorLeft, kDoorRight, kClimate, kRainLight};
  const std::vector<int> gateway = {kMasterNode};
  network.signals = {
      {"GwLockRequest", 2, kMasterNode, doors, "LockCommand", Ramp(0, 2, 1)},
      {"GwMirrorFold", 1, kMasterNode, doors, "OnOff", Toggle(50)},
      {"GwAliveCounter", 4, kMasterNode, everyone, "", Counter(15)},
      {"GwIllumination", 8, kMasterNode, doors, "Percent", Triangle(0, 250, 5)},
      {"GwTargetTemp", 8, kMasterNode, {kClimate}, "Temperature", Triangle(112, 136, 1)},
      {"GwFanRequest", 4, kMasterNode, {kClimate}, "FanLevel", Ramp(0, 15, 1)},
      {"GwAcRequest", 1, kMasterNode, {kClimate}, "OnOff", Toggle(80)},
      {"DlWindowPosition", 8, kDoorLeft, gateway, "Percent", Triangle(0, 250, 10)},
      {"DlDoorOpen", 1, kDoorLeft, gateway, "OnOff", Toggle(40)},
      {"DlLockState", 2, kDoorLeft, gateway, "LockState", Ramp(0, 3, 1)},
      {"DlAliveCounter", 4, kDoorLeft, gateway, "", Counter(15)},
      {"DrWindowPosition", 8, kDoorRight, gateway, "Percent", Triangle(0, 250, 25)},
      {"DrDoorOpen", 1, kDoorRight, gateway, "OnOff", Toggle(65)},
      {"DrLockState", 2, kDoorRight, gateway, "LockState", Ramp(0, 3, 1)},
      {"DrAliveCounter", 4, kDoorRight, gateway, "", Counter(15)},
      {"ClCabinTemp", 8, kClimate, gateway, "Temperature", Triangle(110, 150, 1)},
      {"ClOutsideTemp", 8, kClimate, gateway, "Temperature", Triangle(40, 140, 1)},
      {"ClFanLevel", 4, kClimate, gateway, "FanLevel", Triangle(0, 15, 1)},
      {"ClAcActive", 1, kClimate, gateway, "OnOff", Toggle(100)},
      {"ClAliveCounter", 4, kClimate, gateway, "", Counter(15)},
      {"RlRainIntensity", 8, kRainLight, {kMasterNode, kClimate}, "", Triangle(0, 100, 2)},
      {"RlLightLevel", 16, kRainLight, gateway, "LightLevel", Ramp(0, 65534, 997)},
      {"RlWiperRequest", 2, kRainLight, gateway, "WiperMode", Ramp(0, 3, 1)},
      {"RlTunnel", 1, kRainLight, gateway, "OnOff", Toggle(150)},
      {"RlAliveCounter", 8, kRainLight, gateway, "", Counter(255)},
      {"RlSolarLoad", 8, kRainLight, {kMasterNode, kClimate}, "Percent", Triangle(0, 250, 3)},
  };

  network.frames = {
      {"GwCommand", 0x05, kMasterNode, 2,
       {{"GwLockRequest", 0}, {"GwMirrorFold", 2}, {"GwAliveCounter", 4}, {"GwIllumination", 8}}},
      {"DoorLeftStatus", 0x11, kDoorLeft, 2,
       {{"DlWindowPosition", 0}, {"DlDoorOpen", 8}, {"DlLockState", 9}, {"DlAliveCounter", 12}}},
      {"DoorRightStatus", 0x12, kDoorRight, 2,
       {{"DrWindowPosition", 0}, {"DrDoorOpen", 8}, {"DrLockState", 9}, {"DrAliveCounter", 12}}},
      {"GwClimateRequest", 0x20, kMasterNode, 4,
       {{"GwTargetTemp", 0}, {"GwFanRequest", 8}, {"GwAcRequest", 12}}},
      {"ClimateStatus", 0x23, kClimate, 4,
       {{"ClCabinTemp", 0},
        {"ClOutsideTemp", 8},
        {"ClFanLevel", 16},
        {"ClAcActive", 20},
        {"ClAliveCounter", 24}}},
      {"RainLightStatus", 0x31, kRainLight, 8,
       {{"RlRainIntensity", 0},
        {"RlLightLevel", 8},
        {"RlWiperRequest", 24},
        {"RlTunnel", 26},
        {"RlAliveCounter", 32},
        {"RlSolarLoad", 40}}},
  };

  network.encodings = {
      {"OnOff", {Logical(0, "off"), Logical(1, "on")}},
      {"LockCommand",
       {Logical(0, "no request"), Logical(1, "lock"), Logical(2, "unlock"), Logical(3, "invalid")}},
      {"LockState",
       {Logical(0, "unlocked"), Logical(1, "locked"), Logical(2, "moving"), Logical(3, "fault")}},
      {"WiperMode",
       {Logical(0, "off"), Logical(1, "interval"), Logical(2, "slow"), Logical(3, "fast")}},
      {"Percent",
       {Physical(0, 250, 0.4, 0, "%"), Physical(251, 254, 1, 0, "reserved"),
        Logical(255, "invalid")}},
      {"Temperature", {Physical(0, 254, 0.5, -40, "degC"), Logical(255, "sensor fault")}},
      {"FanLevel", {Physical(0, 15, 1, 0, "step")}},
      {"LightLevel", {Physical(0, 65534, 2, 0, "lux"), Logical(65535, "invalid")}},
  };

  network.schedule_name = "DemoSchedule";
  network.schedule = {
      {"GwCommand", 10},       {"DoorLeftStatus", 10}, {"DoorRightStatus", 10},
      {"GwClimateRequest", 15}, {"ClimateStatus", 15}, {"RainLightStatus", 20},
  };
  return network;
}

template <typename Item>
const Item& Named(const std::vector<Item>& items, std::string_view name) {
  const auto found = std::ranges::find(items, name, &Item::name);
  if (found == items.end()) throw std::logic_error("demo network has no " + std::string(name));
  return *found;
}

}  // namespace

const DemoSignal& DemoNetwork::Signal(std::string_view name) const { return Named(signals, name); }

const DemoFrame& DemoNetwork::Frame(std::string_view name) const { return Named(frames, name); }

const DemoFrame* DemoNetwork::FrameWithId(std::uint8_t id) const {
  const auto found = std::ranges::find(frames, id, &DemoFrame::id);
  return found == frames.end() ? nullptr : &*found;
}

std::string_view DemoNetwork::NodeName(int node) const {
  return node == kMasterNode ? master : slaves.at(static_cast<std::size_t>(node));
}

const DemoNetwork& TheDemoNetwork() {
  static const DemoNetwork network = MakeDemoNetwork();
  return network;
}

std::uint32_t SignalValue(const DemoSignal& signal, std::uint64_t transmission) {
  const SignalBehaviour& b = signal.behaviour;
  const std::uint64_t span = std::uint64_t{b.high} - b.low + 1;
  switch (b.waveform) {
    case Waveform::kCounter:
      return static_cast<std::uint32_t>(b.low + transmission % span);
    case Waveform::kRamp:
      return static_cast<std::uint32_t>(b.low + transmission * b.step % span);
    case Waveform::kTriangle: {
      const std::uint64_t steps = (b.high - b.low) / b.step;
      const std::uint64_t phase = transmission % (2 * steps);
      const std::uint64_t up = phase <= steps ? phase : 2 * steps - phase;
      return static_cast<std::uint32_t>(b.low + up * b.step);
    }
    case Waveform::kToggle:
      return transmission / b.step % 2 == 0 ? b.low : b.high;
  }
  return b.low;
}

std::array<std::uint8_t, 8> FrameData(const DemoNetwork& network, const DemoFrame& frame,
                                      std::uint64_t transmission) {
  std::uint64_t bits = ~std::uint64_t{0};
  for (const SignalPlacement& placement : frame.signals) {
    const DemoSignal& signal = network.Signal(placement.signal);
    const std::uint64_t mask = ((std::uint64_t{1} << signal.size_bits) - 1) << placement.bit_offset;
    const std::uint64_t value = std::uint64_t{SignalValue(signal, transmission)} << placement.bit_offset;
    bits = (bits & ~mask) | (value & mask);
  }
  std::array<std::uint8_t, 8> data{};
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(bits >> (8 * i));
  return data;
}

}  // namespace orvane::emulator
