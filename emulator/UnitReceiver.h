// The unit's bus receiver under the firmware: turns what happens on the bus
// and on the I/O lines into monitor records and block-header statistics,
// using the registers the host wrote (mode, frame timing, length table,
// I/O channel enables).
//
// Mode 3 (baud-rate measurement) measures every frame's baud rate into
// register 0x0417 instead of decoding it; the other modes monitor alike
// (the unit's own master and slave simulation join the bus as its
// initiators and responders). I/O edges are reported only on
// enabled channels.
//
// Frames whose header the unit sent as master are counted for the master
// simulation counters of the block header: requests (every such frame) and
// successes (those read back complete: End, Sleep, or Req of an identifier
// with data length 0). The receiver's baud rate is recovered from the timing
// bytes at 0x0402; bytes that match no entry of the timing table leave it
// at the last rate recognised.
//
// Not thread-safe; owned by the firmware.
#pragma once

#include <cstdint>

#include "emulator/BusEvent.h"
#include "emulator/BusStatistics.h"
#include "emulator/MonitorStream.h"
#include "emulator/UnitMemory.h"

namespace orvane::emulator {

// The unit's millisecond counter at clock time `micros`, when it read
// `counter_start` at clock time 0.
std::int32_t UnitMillis(std::int64_t micros, std::uint32_t counter_start = 0);

class UnitReceiver {
 public:
  UnitReceiver(UnitMemory& memory, MonitorStream& monitor, std::uint32_t counter_start = 0);

  void Observe(const BusEvent& event);

  // Register 0x0402 changed.
  void OnTimingWritten();
  // Monitoring starts: the packet total counts from 0.
  void RestartPacketCount() { statistics_.RestartPacketCount(); }
  // A master schedule starts: requests and successes count from 0.
  void RestartSimulationCounters();
  // Packet total, bus load, bus state, master simulation requests and
  // successes as of `now`.
  UnitBlockHeader Header(std::int64_t now);
  std::uint32_t configured_baud() const { return configured_baud_; }

  // Power-on state.
  void Reset();

 private:
  void OnFrame(const FrameOnBus& frame);
  void OnWakeup(const WakeupPulse& pulse);
  void OnIoEdge(const IoEdge& edge);

  UnitMemory& memory_;
  MonitorStream& monitor_;
  std::uint32_t counter_start_;
  BusStatistics statistics_;
  std::uint32_t configured_baud_ = 0;
  std::uint32_t simulation_requests_ = 0;
  std::uint32_t simulation_successes_ = 0;
};

}  // namespace orvane::emulator
