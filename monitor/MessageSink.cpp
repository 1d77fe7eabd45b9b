#include "monitor/MessageSink.h"

namespace orvane::monitor {

void ShowErrorBox(MessageSink& sink, std::string_view text, MessageIcon icon) {
  sink.Show(MessageBoxRequest{.caption = "Error", .text = text, .icon = icon});
}

void ShowWarningBox(MessageSink& sink, std::string_view text) {
  sink.Show(MessageBoxRequest{.caption = "Warning", .text = text, .icon = MessageIcon::kExclamation});
}

MessageAnswer AskOkCancel(MessageSink& sink, std::string_view caption, std::string_view text) {
  return sink.Show(MessageBoxRequest{.caption = caption,
                                     .text = text,
                                     .icon = MessageIcon::kQuestion,
                                     .buttons = MessageButtons::kOkCancel,
                                     .cancelIsDefault = true});
}

}  // namespace orvane::monitor
