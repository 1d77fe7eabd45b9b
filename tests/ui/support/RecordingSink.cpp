#include "tests/ui/support/RecordingSink.h"

namespace orvane::ui::testing {

monitor::MessageAnswer RecordingSink::Show(const monitor::MessageBoxRequest& request) {
  const std::lock_guard lock(mutex_);
  boxes_.push_back({std::string(request.caption), std::string(request.text), request.icon,
                    request.buttons, std::string(request.detail)});
  return answer;
}

std::vector<RecordedBox> RecordingSink::Boxes() const {
  const std::lock_guard lock(mutex_);
  return boxes_;
}

std::vector<std::string> RecordingSink::Texts() const {
  const std::lock_guard lock(mutex_);
  std::vector<std::string> texts;
  for (const RecordedBox& box : boxes_) texts.push_back(box.text);
  return texts;
}

void RecordingSink::Clear() {
  const std::lock_guard lock(mutex_);
  boxes_.clear();
}

}  // namespace orvane::ui::testing
