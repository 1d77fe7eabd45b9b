#include "simulation/SlotNames.h"

namespace orvane::simulation {

namespace {

constexpr std::int32_t kKeySpace = 0x20;
constexpr std::int32_t kKeyF1Code = 0x70;
constexpr std::int32_t kFunctionKeyCount = 12;

bool IsDigitOrCapital(std::int32_t code) {
  return (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z');
}

}  // namespace

std::string KeyName(std::int32_t code) {
  if (IsDigitOrCapital(code)) return std::string(1, static_cast<char>(code));
  if (code >= kKeyF1Code && code < kKeyF1Code + kFunctionKeyCount) {
    return "F" + std::to_string(code - kKeyF1Code + 1);
  }
  if (code == kKeySpace) return "SPACE";
  return {};
}

std::optional<std::int32_t> KeyCode(std::string_view name) {
  if (name.size() == 1 && IsDigitOrCapital(name[0])) return name[0];
  if (name == "SPACE") return kKeySpace;
  for (std::int32_t code = kKeyF1Code; code < kKeyF1Code + kFunctionKeyCount; ++code) {
    if (name == KeyName(code)) return code;
  }
  return std::nullopt;
}

std::string TriggerText(const SimSlot& slot) {
  switch (slot.trigger) {
    case kTriggerTimer:
      return std::to_string(slot.triggerValue) + "[ms]";
    case kTriggerKey:
      return KeyName(slot.triggerValue);
    default:
      return {};
  }
}

}  // namespace orvane::simulation
