#include "simulation/SlotValidation.h"

#include <algorithm>
#include <cstdio>

#include "settings/FixedText.h"

namespace orvane::simulation {

namespace {

constexpr std::uint8_t kMaxIdentifier = 0x3F;
constexpr std::int32_t kDelayNotEntered = -1;
constexpr std::int32_t kMaxDelay = 65535;
constexpr std::size_t kMaxNameLength = 255;

constexpr std::string_view kPatternParametersText = "Please set pattern file parameters.";
constexpr std::string_view kDelayMissingText = "Please input delay value in the range of 1-65535.";
constexpr std::string_view kDelayRangeText = "Enter proper delay value (1-65535).";
constexpr std::string_view kExtendedFrameText = "Extend frame can't be registed.";

bool LacksPatternParameters(const SimSlot& slot) {
  return slot.pattern == 1 &&
         (settings::FieldText(slot.patternPath).empty() || slot.trigger == kTriggerNone);
}

bool IntervalTooShort(const SimSlot& slot) {
  return slot.pattern == 1 && slot.trigger == kTriggerTimer &&
         static_cast<std::uint32_t>(slot.triggerValue) < kMinTimerInterval;
}

std::string IntervalText() {
  return "Interval time should be more than " + std::to_string(kMinTimerInterval) + "[ms].";
}

bool IsAsciiAlphanumeric(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

std::string ValidateInterruptSlot(const SimSlot& slot) {
  std::string text;
  if (LacksPatternParameters(slot)) {
    text = kPatternParametersText;
  } else if (slot.identifier > kMaxIdentifier) {
    text = kIdentifierRangeText;
  }
  if (slot.enable == 1 && slot.delay == kDelayNotEntered) text = kDelayMissingText;
  return text;
}

std::string ValidateSlot(const SimSlot& slot) {
  std::string text = ValidateInterruptSlot(slot);
  if (!text.empty()) return text;
  if (IntervalTooShort(slot)) text = IntervalText();
  if (slot.delay == 0 || slot.delay > kMaxDelay) text = kDelayRangeText;
  return text;
}

std::string CheckScheduleName(const ScheduleNames& names, std::string_view name,
                              std::size_t index) {
  if (name.empty()) return "Please enter a schedule name.";
  for (std::size_t other = 0; other < names.size(); ++other) {
    if (other != index && settings::FieldText(names[other].data(), names[other].size()) == name) {
      return "There is a schedule of the same name.";
    }
  }
  if (name.size() > kMaxNameLength || !std::ranges::all_of(name, IsAsciiAlphanumeric)) {
    return "Please enter ASCII characters.(0-9,A-Z)";
  }
  return {};
}

std::string ValidateSlaveResponse(const SimSlot& response, std::int32_t masterId) {
  std::string text;
  if (LacksPatternParameters(response)) text = kPatternParametersText;
  if (IntervalTooShort(response)) text = IntervalText();
  if (!text.empty() || response.enable != 1) return text;
  if (response.identifier > kMaxIdentifier) return std::string(kIdentifierRangeText);
  if (response.identifier == masterId) {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%02x", static_cast<unsigned>(masterId));
    return std::string(prefix) + "h is master ID. Please select another one.";
  }
  return text;
}

std::string ValidateSlaveRow(const SimSlot& response, std::int32_t masterId) {
  if (response.identifier == kExtendedFrameIdLow || response.identifier == kExtendedFrameIdHigh) {
    return std::string(kExtendedFrameText);
  }
  return ValidateSlaveResponse(response, masterId);
}

std::optional<std::size_t> FindDuplicateSlaveIdentifier(const SlaveResponses& responses) {
  for (std::size_t first = 0; first < responses.size(); ++first) {
    if (responses[first].enable != 1) continue;
    for (std::size_t later = first + 1; later < responses.size(); ++later) {
      if (responses[later].enable == 1 &&
          responses[later].identifier == responses[first].identifier) {
        return later;
      }
    }
  }
  return std::nullopt;
}

}  // namespace orvane::simulation
