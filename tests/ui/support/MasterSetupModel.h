// The parts of the configuration the master simulation setup edits, read
// back for the setup dialog's tests.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "app/Configuration.h"
#include "settings/FixedText.h"
#include "simulation/SimRecords.h"

namespace orvane::ui::testing {

// Schedules, interrupt slot, schedule names, extended frame files and run
// settings as bytes, to tell that nothing of them changed.
inline std::vector<char> MasterModelBytes(const app::Configuration& configuration) {
  std::vector<char> bytes;
  const auto add = [&bytes](const auto& part) {
    const char* begin = reinterpret_cast<const char*>(&part);
    bytes.insert(bytes.end(), begin, begin + sizeof part);
  };
  add(configuration.Schedules);
  add(configuration.InterruptSlot);
  add(configuration.ScheduleNames);
  add(configuration.ExtendedFiles);
  add(configuration.MasterRun);
  return bytes;
}

// The name of schedule `index`.
inline QString ScheduleNameOf(const simulation::ScheduleNames& names, std::size_t index) {
  return QString::fromStdString(
      std::string(settings::FieldText(names[index].data(), simulation::kScheduleNameSize)));
}

}  // namespace orvane::ui::testing
