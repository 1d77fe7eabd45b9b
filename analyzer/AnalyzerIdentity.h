// Names, versions and dates of the analyzer's boot program and firmware, and
// its serial number, as the About and splash windows show them. One
// instance, filled with these defaults at start-up; OpenAnalyzer replaces the
// serial number with the analyzer's own.
//
// Threads: a plain value; written by the user-interface thread while the
// connection opens, read afterwards by anyone.
#pragma once

#include <string_view>

namespace orvane::analyzer {

// The firmware version this program requires; also the version text that
// the shipped firmware image carries at offset 0x60.
inline constexpr char kRequiredFirmwareVersion[] = "Ver.3.11";

// Fixed-size zero-terminated texts.
struct AnalyzerIdentity {
  char bootName[33] = "LIN Analyzer Boot Program";
  char bootVersion[17] = "Ver.1.00";
  char bootDate[17] = "2000.08.21";
  char serialNumber[33] = "00000001";
  char firmwareName[33] = "LIN Analyzer Firmware";
  char firmwareVersion[17] = "Ver.3.11";
  char firmwareDate[17] = "2000.08.21";
};

static_assert(std::string_view(AnalyzerIdentity{}.firmwareVersion) == kRequiredFirmwareVersion);

}  // namespace orvane::analyzer
