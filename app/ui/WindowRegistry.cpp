#include <algorithm>

#include "app/ui/ShellView.h"

namespace orvane::ui {

void WindowRegistry::Register(WindowFamily family) {
  const auto same = [&](const WindowFamily& known) { return known.window == family.window; };
  std::erase_if(families_, same);
  families_.push_back(std::move(family));
}

const WindowFamily* WindowRegistry::Find(app::Window window) const {
  const auto it = std::find_if(families_.begin(), families_.end(),
                               [&](const WindowFamily& family) { return family.window == window; });
  return it == families_.end() ? nullptr : &*it;
}

void WindowRegistry::RegisterCommand(app::MainCommand command, CommandHandler handler) {
  std::erase_if(commands_, [&](const auto& known) { return known.first == command; });
  commands_.emplace_back(command, std::move(handler));
}

const CommandHandler* WindowRegistry::FindCommand(app::MainCommand command) const {
  const auto it = std::find_if(commands_.begin(), commands_.end(),
                               [&](const auto& known) { return known.first == command; });
  return it == commands_.end() ? nullptr : &it->second;
}

}  // namespace orvane::ui
