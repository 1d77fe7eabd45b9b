#include "views/StatusFields.h"

#include <cstdio>

#include "settings/BaudRateTable.h"

namespace orvane::views {
namespace {

constexpr std::string_view kNoValue = "---";

}  // namespace

std::string_view LinRevisionText(std::uint32_t linRevision) {
  switch (linRevision) {
    case 0:
      return "Rev. 1.3";
    case 1:
      return "Rev. 2.0";
    default:
      return "Unknown";
  }
}

std::string_view BaudRateText(std::uint8_t baudRateCode) {
  const settings::BaudRate* rate = settings::FindBaudRate(baudRateCode);
  return rate != nullptr ? rate->label : "ERROR";
}

std::string_view BusStatusText(std::uint8_t busStatus) {
  switch (busStatus) {
    case monitor::kBusRun:
      return "Run";
    case monitor::kBusSleep:
      return "Sleep";
    case monitor::kBusWakeup:
      return "Wakeup";
    default:
      return "Error";
  }
}

std::string PacketCountText(std::uint32_t packetCount) {
  return std::to_string(packetCount);
}

std::string BusLoadText(std::uint16_t busLoadTenths) {
  char text[16];
  std::snprintf(text, sizeof text, "%3.1f", busLoadTenths / 10.0);
  return text;
}

StatusFields::StatusFields(std::uint32_t linRevision, bool measurementMode)
    : linRevision_(linRevision), measurementMode_(measurementMode) {}

void StatusFields::InitialUpdate(bool monitorStopped, std::uint8_t baudRateCode) {
  texts_.linRevision = LinRevisionText(linRevision_);
  texts_.modeStatus = monitorStopped ? "Stop" : "Run";
  texts_.baudRate = BaudRateText(baudRateCode);
  finalUpdateDone_ = true;
}

void StatusFields::SettingsChanged(std::uint8_t baudRateCode) {
  if (!measurementMode_) texts_.baudRate = BaudRateText(baudRateCode);
}

bool StatusFields::Tick(bool acquisitionRunning, const StatusSource& source) {
  if (acquisitionRunning) {
    finalUpdateDone_ = false;
  } else if (finalUpdateDone_) {
    return false;
  } else {
    finalUpdateDone_ = true;
  }
  Refresh(source);
  return true;
}

void StatusFields::Refresh(const StatusSource& source) {
  if (measurementMode_) {
    texts_.packetCount = kNoValue;
    texts_.busLoad = kNoValue;
    texts_.busStatus = "Measurement";
    const std::optional<std::uint16_t> measured = source.ReadMeasuredBaud();
    texts_.baudRate = measured ? std::to_string(*measured) : "Error";
    return;
  }
  const monitor::MonitorBlockHeader header = source.LatestHeader();
  texts_.packetCount = PacketCountText(header.packetCount);
  texts_.busStatus = BusStatusText(header.busStatus);
  texts_.busLoad = BusLoadText(header.busLoad);
  texts_.baudRate = BaudRateText(source.BaudRateCode());
}

}  // namespace orvane::views
