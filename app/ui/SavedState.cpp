#include "app/ui/SavedState.h"

#include <QByteArray>
#include <QSettings>

namespace orvane::ui {
namespace {

constexpr char kGroup[] = "Info";

constexpr std::array kChildWriteOrder = {app::Window::kMasterMonitor, app::Window::kStatus,
                                         app::Window::kSlaveMonitor,  app::Window::kMonitor,
                                         app::Window::kSignalSelect,  app::Window::kSignalMonitor,
                                         app::Window::kEachId,        app::Window::kCapture,
                                         app::Window::kBusStatistics, app::Window::kSignalPlot};

QString Key(std::string_view name) {
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

class InfoGroup {
 public:
  InfoGroup() : settings_(kSettingsOrganisation, kSettingsApplication) {
    settings_.beginGroup(kGroup);
  }
  QSettings& operator*() { return settings_; }
  QSettings* operator->() { return &settings_; }

 private:
  QSettings settings_;
};

}  // namespace

std::optional<std::string> ReadStoredString(std::string_view name) {
  InfoGroup group;
  const QVariant value = group->value(Key(name));
  if (!value.isValid()) return std::nullopt;
  return value.toString().toStdString();
}

void WriteStoredString(std::string_view name, std::string_view value) {
  InfoGroup group;
  group->setValue(Key(name), QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}

std::optional<app::WindowPlacement> ReadStoredPlacement(std::string_view name) {
  InfoGroup group;
  const QByteArray bytes = group->value(Key(name)).toByteArray();
  return app::PlacementFromBytes(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                           static_cast<std::size_t>(bytes.size())));
}

void WriteStoredPlacement(std::string_view name, const app::WindowPlacement& placement) {
  const auto bytes = app::PlacementBytes(placement);
  InfoGroup group;
  group->setValue(Key(name), QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                        static_cast<qsizetype>(bytes.size())));
}

WindowPlacements ReadPlacements() {
  WindowPlacements placements;
  if (const auto main = ReadStoredPlacement(app::kMainPlacementName)) {
    placements.main = *main;
    placements.mainValid = true;
  }
  for (const app::Window window : kChildWriteOrder) {
    if (const auto stored = ReadStoredPlacement(app::PlacementName(window))) {
      placements.of(window) = *stored;
    }
  }
  return placements;
}

void WritePlacements(const WindowPlacements& placements) {
  app::WindowPlacement main = placements.main;
  main.showCommand = app::kShowNormal;
  WriteStoredPlacement(app::kMainPlacementName, main);
  for (const app::Window window : kChildWriteOrder) {
    WriteStoredPlacement(app::PlacementName(window), placements.of(window));
  }
}

}  // namespace orvane::ui
