// What the status window shows: its six field texts and the rules by which
// they change, without the window. CStatusFView writes Texts() into its form
// after each call and forwards its update codes and its 1 s timer here.
//
// Threads: the user-interface thread. The latest block header a refresh
// reads is written by the acquisition thread; StatusSource loads it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "monitor/MonitorRecord.h"

namespace orvane::views {

// The six fields, top to bottom, with the texts the form starts with.
struct StatusFieldTexts {
  std::string linRevision = "Rev. xx.xx";
  std::string modeStatus = "Stop";
  std::string busStatus = "Measurement";
  std::string packetCount = "Packet Num";
  std::string busLoad = "Bus Load";
  std::string baudRate = "Baudrate";

  friend bool operator==(const StatusFieldTexts&, const StatusFieldTexts&) = default;
};

// 0 "Rev. 1.3", 1 "Rev. 2.0", anything else "Unknown".
std::string_view LinRevisionText(std::uint32_t linRevision);
// The baud rate table's label of `baudRateCode`, "ERROR" outside the table.
std::string_view BaudRateText(std::uint8_t baudRateCode);
// 0 "Run", 1 "Sleep", 2 "Wakeup", anything else "Error".
std::string_view BusStatusText(std::uint8_t busStatus);
// The packet count in decimal; the count is unsigned, so it never shows
// negative, also beyond 2^31.
std::string PacketCountText(std::uint32_t packetCount);
// The bus load in percent from tenths, "%3.1f": 1000 gives "100.0".
std::string BusLoadText(std::uint16_t busLoadTenths);

// Where a refresh reads from.
class StatusSource {
 public:
  virtual ~StatusSource() = default;
  // The header of the most recent monitor block.
  virtual monitor::MonitorBlockHeader LatestHeader() const = 0;
  // The configured baud rate code.
  virtual std::uint8_t BaudRateCode() const = 0;
  // The baud rate the analyzer measured, in bit/s; nothing when the read
  // failed. Asked only in the baud rate measurement mode.
  virtual std::optional<std::uint16_t> ReadMeasuredBaud() const = 0;
};

class StatusFields {
 public:
  // The LIN revision setting and whether the mode is baud rate measurement,
  // both as the application has them when the window is made.
  StatusFields(std::uint32_t linRevision, bool measurementMode);

  const StatusFieldTexts& Texts() const { return texts_; }

  // The first showing: LIN revision, mode status ("Stop" while stopped,
  // else "Run") and the configured baud rate; no further refresh is due.
  void InitialUpdate(bool monitorStopped, std::uint8_t baudRateCode);

  // Every update of the views first takes the current mode again.
  void SetMeasurementMode(bool measurementMode) { measurementMode_ = measurementMode; }
  // The option settings or the configuration changed: the configured baud
  // rate again, except in the measurement mode, where the field keeps the
  // measured rate.
  void SettingsChanged(std::uint8_t baudRateCode);
  void MonitoringStarted() { texts_.modeStatus = "Run"; }
  void MonitoringStopped() { texts_.modeStatus = "Stop"; }

  // The 1 s timer: refreshes while the acquisition runs and exactly once
  // more after it has ended, then stays as it is until it runs again.
  // Returns whether it refreshed.
  bool Tick(bool acquisitionRunning, const StatusSource& source);

  // Reads the fields from the source: in the measurement mode "---" for
  // packets and load, "Measurement", and the measured rate or "Error";
  // otherwise packets, load and bus state from the latest block header and
  // the configured baud rate.
  void Refresh(const StatusSource& source);

 private:
  StatusFieldTexts texts_;
  std::uint32_t linRevision_;
  bool measurementMode_;
  bool finalUpdateDone_ = true;
};

}  // namespace orvane::views
