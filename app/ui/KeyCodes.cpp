#include "app/ui/KeyCodes.h"

#include <Qt>

namespace orvane::ui {

std::optional<std::int32_t> VirtualKeyOf(int qtKey) {
  constexpr std::int32_t kF1 = 0x70;
  if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) ||
      qtKey == Qt::Key_Space) {
    return qtKey;  // Qt uses the same codes for these keys
  }
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return kF1 + (qtKey - Qt::Key_F1);
  return std::nullopt;
}

}  // namespace orvane::ui
