// How the core shows message boxes: through a MessageSink that the GUI
// implements with modal message boxes owned by the main window (marshalled to
// the GUI thread when called from another thread) and tests implement with a
// recorder. The helpers below give the project's standard boxes.
//
// Threads: a sink must accept calls from any thread. Show and Ask block the
// calling thread until the user has closed the box.
#pragma once

#include <string_view>

namespace orvane::monitor {

enum class MessageIcon { kStop, kExclamation, kQuestion, kInformation };
enum class MessageButtons { kOk, kOkCancel };
// kExtra: the request's extra button.
enum class MessageAnswer { kOk, kCancel, kExtra };

struct MessageBoxRequest {
  std::string_view caption;
  std::string_view text;
  MessageIcon icon = MessageIcon::kExclamation;
  MessageButtons buttons = MessageButtons::kOk;
  // With kOkCancel: Cancel is the default button.
  bool cancelIsDefault = false;
  // Shown on request below the text (empty: none).
  std::string_view detail{};
  // The label of a further button beside the others (empty: none).
  std::string_view extraButton{};
};

class MessageSink {
 public:
  virtual ~MessageSink() = default;

  // True while a main window exists and its ShutdownState is 0 (no exit
  // requested or forced). Numbered error messages are shown only then.
  virtual bool CanShow() const = 0;

  // Shows a modal box and returns the button pressed (kOk for kOk boxes).
  // The texts are only valid during the call.
  virtual MessageAnswer Show(const MessageBoxRequest& request) = 0;
};

// A box titled "Error" with an OK button; icon stop or exclamation.
void ShowErrorBox(MessageSink& sink, std::string_view text,
                  MessageIcon icon = MessageIcon::kExclamation);

// A box titled "Warning" with the exclamation icon and an OK button.
void ShowWarningBox(MessageSink& sink, std::string_view text);

// A question with OK and Cancel, the question icon and Cancel as the default
// button; returns kOk only when the user chose OK.
MessageAnswer AskOkCancel(MessageSink& sink, std::string_view caption, std::string_view text);

}  // namespace orvane::monitor
