#include "simulation/ScheduleImport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <set>

#include "settings/FixedText.h"
#include "signals/SignalDecode.h"
#include "simulation/FrameInitialData.h"
#include "simulation/SlotGrid.h"

namespace orvane::simulation {

namespace {

using signals::LinDescription;
using signals::ScheduleSlot;
using signals::ScheduleTable;

constexpr std::size_t kNameLength = kScheduleNameSize - 1;
constexpr double kMinDelayMs = 1;
constexpr double kMaxDelayMs = 65535;
constexpr std::string_view kMasterRequest = "MasterReq";
constexpr std::string_view kSlaveResponse = "SlaveResp";
constexpr std::int64_t kMaxFrameId = 0x3F;
constexpr std::uint8_t kSleepCommand = 0x00;  // D0 of a master request

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

std::string Milliseconds(double ms) {
  return signals::FormatPhysicalValue(ms) + " ms";
}

std::string IdentifierText(std::uint8_t identifier) {
  char text[4];
  std::snprintf(text, sizeof text, "%02xh", identifier);
  return text;
}

// "Normal, slot 2 (LSM_Frm2, 15 ms)"
std::string EntryText(const ScheduleTable& table, std::size_t index) {
  const ScheduleSlot& entry = table.slots[index];
  return table.name + ", slot " + std::to_string(index + 1) + " (" + entry.frameName + ", " +
         Milliseconds(entry.delayMs) + ")";
}

std::string LeftOutReason(const ScheduleSlot& entry) {
  if (entry.frameName == kMasterRequest) {
    return "the description has no MasterReq frame, so no data for the master request; not "
           "imported";
  }
  if (entry.frameName.find('{') != std::string::npos) {
    return "a node configuration command; not imported";
  }
  return "no frame or event-triggered frame of the description (a sporadic frame or a "
         "command); not imported";
}

template <typename Named>
const Named* FindByName(const std::vector<Named>& list, std::string_view name) {
  const auto found = std::ranges::find(list, name, &Named::name);
  return found == list.end() ? nullptr : &*found;
}

SimSlot EnabledSlot(std::uint8_t command, std::uint8_t identifier) {
  SimSlot slot = DefaultMasterSlot();
  slot.enable = 1;
  slot.command = command;
  slot.identifier = identifier;
  return slot;
}

// The slot an entry stands for, without its delay; nothing when it has none.
std::optional<SimSlot> SlotOf(const ScheduleSlot& entry, const LinDescription& description) {
  if (entry.frame >= 0 && static_cast<std::size_t>(entry.frame) < description.frames.size()) {
    const signals::Frame& frame = description.frames[static_cast<std::size_t>(entry.frame)];
    if (frame.publisher != signals::kMasterNode) return EnabledSlot(kCommandRx, frame.identifier);
    SimSlot slot = EnabledSlot(kCommandTx, frame.identifier);
    std::ranges::copy(FrameInitialData(description.signals, frame), slot.data);
    return slot;
  }
  if (entry.frameName == kSlaveResponse) return EnabledSlot(kCommandRx, kSlaveResponseId);
  if (entry.frameName == kMasterRequest) {
    const signals::Frame* request = FindByName(description.diagnosticFrames, kMasterRequest);
    if (request == nullptr) return std::nullopt;
    SimSlot slot = EnabledSlot(kCommandTx, kMasterRequestId);
    std::ranges::copy(FrameInitialData(description.diagnosticSignals, *request), slot.data);
    return slot;
  }
  // The header of an event-triggered frame; the slave with news answers.
  const signals::EventTriggeredFrame* event =
      FindByName(description.eventTriggeredFrames, entry.frameName);
  if (event != nullptr && event->identifier >= 0 && event->identifier <= kMaxFrameId) {
    return EnabledSlot(kCommandRx, static_cast<std::uint8_t>(event->identifier));
  }
  return std::nullopt;
}

class TableImporter {
 public:
  TableImporter(const LinDescription& description,
                const settings::IdentifierDefinition& identifiers, std::vector<std::string>& notes)
      : description_(description), identifiers_(identifiers), notes_(notes) {}

  MasterSchedule Import(const ScheduleTable& table) {
    struct Taken {
      SimSlot slot;
      std::size_t entry;
    };
    std::vector<Taken> taken;
    std::size_t entry = 0;
    for (; entry < table.slots.size() && taken.size() < kSlotsPerSchedule; ++entry) {
      const std::optional<SimSlot> slot = SlotOf(table.slots[entry], description_);
      if (!slot) {
        notes_.push_back(EntryText(table, entry) + ": " + LeftOutReason(table.slots[entry]));
        continue;
      }
      NoteLength(table.slots[entry]);
      if (slot->identifier == kMasterRequestId && slot->data[0] == kSleepCommand) {
        notes_.push_back(EntryText(table, entry) +
                         ": the master request's initial data starts with 00, which the slaves "
                         "take as a go-to-sleep command");
      }
      taken.push_back({*slot, entry});
    }
    if (entry < table.slots.size()) {
      const std::string first = std::to_string(entry + 1);
      const std::string last = std::to_string(table.slots.size());
      notes_.push_back(table.name +
                       (first == last ? ": slot " + first : ": slots " + first + "-" + last) +
                       " did not fit into the 32 slots of a schedule; not imported");
    }

    MasterSchedule schedule = DefaultMasterSchedule();
    const std::size_t count = taken.size();
    for (std::size_t k = 0; k < count; ++k) {
      schedule.slots[k] = taken[k].slot;
      const std::size_t before = taken[(k + count - 1) % count].entry;
      schedule.slots[k].delay = SetupDelay(table, before);
    }
    schedule.enable = count > 0 ? 1 : 0;
    schedule.repeat = 1;
    return schedule;
  }

 private:
  std::int32_t SetupDelay(const ScheduleTable& table, std::size_t entry) {
    const double written = table.slots[entry].delayMs;
    const double kept = std::clamp(std::round(written), kMinDelayMs, kMaxDelayMs);
    if (kept != written) {
      notes_.push_back(EntryText(table, entry) + ": the delay became " + Milliseconds(kept) +
                       " (whole milliseconds 1-65535)");
    }
    return static_cast<std::int32_t>(kept);
  }

  // Once per frame: a length other than the identifier definition's.
  void NoteLength(const ScheduleSlot& entry) {
    if (entry.frame < 0 || !notedFrames_.insert(entry.frame).second) return;
    const signals::Frame& frame = description_.frames[static_cast<std::size_t>(entry.frame)];
    const std::uint8_t defined = DefinedDataLength(identifiers_, frame.identifier);
    if (defined == frame.length) return;
    notes_.push_back("Frame " + frame.name + " (ID " + IdentifierText(frame.identifier) + ") has " +
                     std::to_string(frame.length) +
                     " data bytes; the identifier definition gives " + std::to_string(defined) +
                     ", which the simulation uses");
  }

  const LinDescription& description_;
  const settings::IdentifierDefinition& identifiers_;
  std::vector<std::string>& notes_;
  std::set<std::int32_t> notedFrames_;
};

// `name` made different from each of `taken` by ending it in "~2", "~3" ...
std::string UniqueName(const std::string& name, const std::set<std::string>& taken) {
  if (!taken.contains(name)) return name;
  for (std::size_t number = 2;; ++number) {
    const std::string suffix = "~" + std::to_string(number);
    std::string candidate = name.substr(0, kNameLength - suffix.size()) + suffix;
    if (!taken.contains(candidate)) return candidate;
  }
}

void NameSchedules(const std::vector<ScheduleTable>& tables, ScheduleImport& result) {
  result.names = DefaultScheduleNames();
  std::set<std::string> taken;
  for (std::size_t index = result.imported; index < kScheduleCount; ++index) {
    taken.insert(std::string(settings::FieldText(result.names[index].data(), kScheduleNameSize)));
  }
  for (std::size_t index = 0; index < result.imported; ++index) {
    const std::string& written = tables[index].name;
    const std::string cut = written.substr(0, kNameLength);
    const std::string name = UniqueName(cut, taken);
    taken.insert(name);
    settings::CopyToField(name, result.names[index].data(), kScheduleNameSize);
    if (name == written) continue;
    std::string note = "Table " + Quoted(written) + " is named " + Quoted(name);
    if (cut != written) note += " (schedule names have at most 15 characters)";
    if (name != cut) note += " (" + Quoted(cut) + " was taken)";
    result.notes.push_back(std::move(note));
  }
}

}  // namespace

ScheduleImport ImportSchedules(const signals::LinDescription& description,
                               const settings::IdentifierDefinition& identifiers) {
  ScheduleImport result;
  result.notes = description.scheduleProblems;
  const std::vector<ScheduleTable>& tables = description.scheduleTables;
  if (tables.empty()) {
    result.notes.emplace_back("The LIN description has no schedule tables to import.");
    return result;
  }
  result.imported = std::min(tables.size(), kScheduleCount);
  NameSchedules(tables, result);
  TableImporter importer(description, identifiers, result.notes);
  for (std::size_t index = 0; index < kScheduleCount; ++index) {
    result.schedules[index] =
        index < result.imported ? importer.Import(tables[index]) : DefaultMasterSchedule();
  }
  if (tables.size() > kScheduleCount) {
    std::string left = "Only 16 schedules: tables not imported:";
    for (std::size_t index = kScheduleCount; index < tables.size(); ++index) {
      left += (index == kScheduleCount ? " " : ", ") + tables[index].name;
    }
    result.notes.push_back(std::move(left));
  }
  return result;
}

void ApplyScheduleImport(const ScheduleImport& result, MasterSchedules& schedules,
                         ScheduleNames& names, ExtendedFileTable& extendedFiles) {
  if (result.imported == 0) return;
  schedules = result.schedules;
  names = result.names;
  for (ExtendedFileBinding& binding : extendedFiles) {
    if (binding.owner == kOwnerScheduleSlot) settings::CopyToField("", binding.path);
  }
}

}  // namespace orvane::simulation
