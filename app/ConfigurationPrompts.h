// What reading a configuration file may ask or tell the user. The GUI
// implements it with message boxes; tests record the calls.
//
// Called on the thread that reads the configuration (the user-interface
// thread); both calls block until the user has answered.
#pragma once

#include "app/settings/UserMessage.h"

namespace orvane::app {

class ConfigurationPrompts {
 public:
  virtual ~ConfigurationPrompts() = default;
  // A question with the buttons OK and Cancel, Cancel being the default.
  // Returns true when the user chose OK.
  virtual bool AskOkCancel(const settings::UserMessage& question) = 0;
  // A message with an OK button.
  virtual void Tell(const settings::UserMessage& message) = 0;
};

}  // namespace orvane::app
