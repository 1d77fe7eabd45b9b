#include "app/WindowPlacement.h"

namespace orvane::app {
namespace {

constexpr std::size_t kFieldCount = kWindowPlacementSize / 4;

std::array<std::int32_t, kFieldCount> Fields(const WindowPlacement& p) {
  return {p.length, p.flags, p.showCommand, p.minX,  p.minY,  p.maxX,
          p.maxY,   p.left,  p.top,         p.right, p.bottom};
}

}  // namespace

std::array<std::uint8_t, kWindowPlacementSize> PlacementBytes(const WindowPlacement& placement) {
  std::array<std::uint8_t, kWindowPlacementSize> bytes{};
  const auto fields = Fields(placement);
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    const auto value = static_cast<std::uint32_t>(fields[i]);
    for (std::size_t b = 0; b < 4; ++b)
      bytes[4 * i + b] = static_cast<std::uint8_t>(value >> (8 * b));
  }
  return bytes;
}

std::optional<WindowPlacement> PlacementFromBytes(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != kWindowPlacementSize) return std::nullopt;
  std::array<std::int32_t, kFieldCount> f{};
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    std::uint32_t value = 0;
    for (std::size_t b = 0; b < 4; ++b) value |= std::uint32_t{bytes[4 * i + b]} << (8 * b);
    f[i] = static_cast<std::int32_t>(value);
  }
  return WindowPlacement{f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9], f[10]};
}

std::string_view PlacementName(Window window) {
  switch (window) {
    case Window::kMonitor:
      return "WP_M";
    case Window::kSlaveMonitor:
      return "WP_S";
    case Window::kStatus:
      return "WP_T";
    case Window::kMasterMonitor:
      return "WP_K";
    case Window::kSignalSelect:
      return "WP_SIG";
    case Window::kSignalMonitor:
      return "WP_SGM";
    case Window::kEachId:
      return "WP_ECH";
    case Window::kCapture:
      return "WP_CAP";
    case Window::kFind:
      return {};
    case Window::kSignalPlot:
      return "WP_PLT";
    case Window::kBusStatistics:
      return "WP_BST";
  }
  return {};
}

std::optional<DefaultRectangle> DefaultRectangleOf(Window window, std::string_view languageCode) {
  const bool japanese = languageCode == "JPN";
  switch (window) {
    case Window::kMonitor:
      return japanese ? DefaultRectangle{0, 0, 620, 311} : DefaultRectangle{0, 0, 635, 305};
    case Window::kEachId:
      return japanese ? DefaultRectangle{80, 80, 700, 391} : DefaultRectangle{72, 80, 710, 390};
    case Window::kCapture:
      return japanese ? DefaultRectangle{40, 40, 660, 351} : DefaultRectangle{32, 40, 670, 345};
    case Window::kStatus:
      return DefaultRectangle{japanese ? 620 : 638, 0, 0, 0, true};
    case Window::kSignalSelect:
      return DefaultRectangle{japanese ? 633 : 625, 30, 0, 0, true};
    case Window::kSignalMonitor:
      return DefaultRectangle{25, 30, 650, 350};
    case Window::kSignalPlot:
      return DefaultRectangle{40, 40, 760, 500};
    case Window::kBusStatistics:
      return DefaultRectangle{60, 60, 900, 520};
    case Window::kMasterMonitor:
    case Window::kSlaveMonitor:
    case Window::kFind:
      return std::nullopt;
  }
  return std::nullopt;
}

bool AppliesPlacement(Window window) {
  return DefaultRectangleOf(window, "ENG").has_value();
}

WindowPlacement NormalPlacement(std::int32_t left, std::int32_t top, std::int32_t width,
                                std::int32_t height) {
  WindowPlacement placement;
  placement.length = static_cast<std::int32_t>(kWindowPlacementSize);
  placement.showCommand = kShowNormal;
  placement.left = left;
  placement.top = top;
  placement.right = left + width;
  placement.bottom = top + height;
  return placement;
}

WindowPlacement DefaultPlacement(const DefaultRectangle& rectangle, std::int32_t formWidth,
                                 std::int32_t formHeight) {
  return rectangle.sizeFromForm
             ? NormalPlacement(rectangle.left, rectangle.top, formWidth, formHeight)
             : NormalPlacement(rectangle.left, rectangle.top, rectangle.right - rectangle.left,
                               rectangle.bottom - rectangle.top);
}

}  // namespace orvane::app
