// What the program keeps between runs outside the configuration file: the
// last configuration path, the log path and the eleven window placements,
// under QSettings organisation "Corvanta", application "VXL View", group
// "Info", with the value names LastPath, LogPath, WP, WP_M, ... A placement
// is stored as its 44-byte record.
//
// Threads: the user-interface thread.
#pragma once

#include <QString>
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "app/AppState.h"
#include "app/WindowPlacement.h"

namespace orvane::ui {

// The placement records of the main frame and the child windows,
// alive for the whole run. Zero-filled (empty) until read.
struct WindowPlacements {
  app::WindowPlacement main;
  bool mainValid = false;  // WP was read: the main frame restores it
  std::array<app::WindowPlacement, app::kWindowCount> children{};

  app::WindowPlacement& of(app::Window window) {
    return children[static_cast<std::size_t>(window)];
  }
  const app::WindowPlacement& of(app::Window window) const {
    return children[static_cast<std::size_t>(window)];
  }
};

inline constexpr char kSettingsOrganisation[] = "Corvanta";
inline constexpr char kSettingsApplication[] = "VXL View";

// Reads a string value; nothing when it is missing.
std::optional<std::string> ReadStoredString(std::string_view name);
void WriteStoredString(std::string_view name, std::string_view value);
// Reads a placement; nothing when it is missing or not 44 bytes long.
std::optional<app::WindowPlacement> ReadStoredPlacement(std::string_view name);
void WriteStoredPlacement(std::string_view name, const app::WindowPlacement& placement);

// Start-up: zeroes the records, then reads WP (marking it valid when read)
// and the ten child records (a store without a record leaves it empty).
WindowPlacements ReadPlacements();
// Exit: WP with the show command set to normal, then the child records in
// the order WP_K, WP_T, WP_S, WP_M, WP_SIG, WP_SGM, WP_ECH, WP_CAP, WP_BST,
// WP_PLT.
void WritePlacements(const WindowPlacements& placements);

}  // namespace orvane::ui
