// The main frame's menu as data: every command of menu 128 with its menu,
// text and shortcut, in menu order. The frame builds its menus and
// dialog bar from these tables; availability and check marks come from
// app::CommandStateOf.
#pragma once

#include <span>
#include <string_view>

#include "app/CommandRules.h"

namespace orvane::ui {

enum class MenuName { kFile, kMonitor, kConfiguration, kMode, kView, kWindow, kHelp };

struct MenuEntry {
  MenuName menu;
  app::MainCommand command;
  std::string_view text;
  std::string_view shortcut;  // QKeySequence text; empty for none
  bool separatorBefore = false;
};

// The top-level menus in order, with their titles.
struct MenuTitle {
  MenuName menu;
  std::string_view title;
  // A sub-menu of another menu ("Mode" inside "Configuration").
  bool submenuOfConfiguration = false;
};

std::span<const MenuTitle> MenuTitles();
std::span<const MenuEntry> MenuEntries();

// The dialog bar's eight buttons and the commands they send.
struct DialogBarButton {
  std::string_view text;
  app::MainCommand command;
};
std::span<const DialogBarButton> DialogBarButtons();

// Commands without a menu entry, reached through the monitor window's
// context menu: each mode on/off and its order.
std::span<const MenuEntry> EachModeEntries();

}  // namespace orvane::ui
