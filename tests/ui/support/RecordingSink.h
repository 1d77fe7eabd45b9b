// A message sink for GUI tests that records every box (caption, text, icon,
// buttons) instead of showing it and answers with `answer`. Dialogs report
// their rejected entries through it, so a test can check the exact box.
//
// Threads: any thread may show a box; read the boxes on the test's thread
// once the showing code has returned.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "monitor/MessageSink.h"

namespace orvane::ui::testing {

struct RecordedBox {
  std::string caption;
  std::string text;
  monitor::MessageIcon icon = monitor::MessageIcon::kExclamation;
  monitor::MessageButtons buttons = monitor::MessageButtons::kOk;
  std::string detail;  // the box's detailed text
};

class RecordingSink final : public monitor::MessageSink {
 public:
  bool CanShow() const override { return true; }
  monitor::MessageAnswer Show(const monitor::MessageBoxRequest& request) override;

  // The boxes shown so far, oldest first.
  std::vector<RecordedBox> Boxes() const;
  std::vector<std::string> Texts() const;
  void Clear();

  monitor::MessageAnswer answer = monitor::MessageAnswer::kOk;

 private:
  mutable std::mutex mutex_;
  std::vector<RecordedBox> boxes_;
};

}  // namespace orvane::ui::testing
