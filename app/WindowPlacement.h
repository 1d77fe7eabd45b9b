// Where the program's windows go: the 44-byte placement record each window
// keeps for the whole run (stored under the names WP, WP_M, ...), and the
// default rectangles a window takes when its record is empty.
//
// Pure data and functions; any thread.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "app/AppState.h"

namespace orvane::app {

inline constexpr std::int32_t kShowNormal = 1;

// The layout of a window-placement record: length, flags, show command,
// minimised and maximised positions and the normal rectangle, all 32-bit
// little-endian.
struct WindowPlacement {
  std::int32_t length = 0;
  std::int32_t flags = 0;
  std::int32_t showCommand = 0;
  std::int32_t minX = 0, minY = 0;
  std::int32_t maxX = 0, maxY = 0;
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;

  // A record whose normal rectangle has bottom 0 is empty.
  bool Empty() const { return bottom == 0; }

  friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};
inline constexpr std::size_t kWindowPlacementSize = 44;
static_assert(sizeof(WindowPlacement) == kWindowPlacementSize);

std::array<std::uint8_t, kWindowPlacementSize> PlacementBytes(const WindowPlacement& placement);
// Nothing unless exactly 44 bytes are given.
std::optional<WindowPlacement> PlacementFromBytes(std::span<const std::uint8_t> bytes);

// The main frame's record; the child windows' records follow it at exit.
inline constexpr std::string_view kMainPlacementName = "WP";

// The stored name of a child window's record ("WP_M", "WP_T", ...); empty
// for the Find window, which keeps none.
std::string_view PlacementName(Window window);

// The rectangle a window opens at when its record is empty, by language
// code. Status and Signal select windows give only left and top and take
// their size from their form (sizeFromForm). Nothing for windows that open
// at the system's default place (the simulation monitors, Find).
struct DefaultRectangle {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool sizeFromForm = false;
};
std::optional<DefaultRectangle> DefaultRectangleOf(Window window, std::string_view languageCode);

// Whether the window applies its record when it opens (the simulation
// monitors only keep theirs: they open at the system's default place).
bool AppliesPlacement(Window window);

// The record of a window shown normal at the given rectangle.
WindowPlacement NormalPlacement(std::int32_t left, std::int32_t top, std::int32_t width,
                                std::int32_t height);

// The record of a window that opens with an empty one: the default
// rectangle put into it (for form-sized windows only left and top; right
// and bottom then come from the form's size, given here).
WindowPlacement DefaultPlacement(const DefaultRectangle& rectangle, std::int32_t formWidth,
                                 std::int32_t formHeight);

}  // namespace orvane::app
