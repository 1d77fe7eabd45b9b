#include "settings/OptionSettings.h"

#include <algorithm>
#include <cstdio>

#include "settings/FixedText.h"

namespace orvane::settings {

OptionSettingsExt DefaultOptionSettingsExt() {
  OptionSettingsExt ext{};
  ext.WakeupMicros = kDefaultWakeupMicros;
  for (std::size_t channel = 0; channel < kIoChannelCount; ++channel) {
    char name[kIoEdgeNameSize];
    std::snprintf(name, sizeof name, "IO%zu_UP", channel + 1);
    CopyToField(name, ext.IoChannels[channel].risingName);
    std::snprintf(name, sizeof name, "IO%zu_DN", channel + 1);
    CopyToField(name, ext.IoChannels[channel].fallingName);
  }
  CopyToField("000", ext.LogNumber);
  return ext;
}

OptionSettings DefaultOptionSettings() {
  OptionSettings options;
  options.BaudRateCode = kDefaultBaudRateCode;
  ApplyBaudRateTiming(options);
  options.FrameTiming.SpaceA = 1;
  options.FrameTiming.SpaceB = 1;
  options.FrameTiming.ByteSpace = 1;
  options.MaskIds.fill(kEmptyMaskId);
  options.ShortPatternMode = 1;
  options.LongPatternMode = 1;
  return options;
}

bool ApplyBaudRateTiming(OptionSettings& options) {
  const BaudRate* rate = FindBaudRate(options.BaudRateCode);
  if (rate == nullptr) return false;
  std::copy(rate->timing.begin(), rate->timing.end(), options.FrameTiming.TimingBlock);
  return true;
}

}  // namespace orvane::settings
