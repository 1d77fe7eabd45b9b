// orvane-cli cfg: create, show and check configuration files. Showing and
// checking never ask questions and never write the file.
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "app/ConfigurationFile.h"
#include "app/LoadedDescription.h"
#include "settings/BaudRateTable.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "monitor/MessageSink.h"
#include "signals/LdfLoader.h"
#include "signals/LdfMessages.h"

namespace orvane::cli {

namespace {

namespace fs = std::filesystem;
using app::Configuration;
using app::ReadResult;
using app::ReadStatus;

// Boxes become lines on stderr; questions are declined, since nothing here
// may take a decision for the user.
class StderrMessages final : public monitor::MessageSink {
 public:
  bool CanShow() const override { return true; }
  monitor::MessageAnswer Show(const monitor::MessageBoxRequest& request) override {
    std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(request.caption.size()),
                 request.caption.data(), OneLine(request.text).c_str());
    return monitor::MessageAnswer::kCancel;
  }

  static std::string OneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
      if (c == '\n') c = ' ';
    }
    return line;
  }
};

fs::path ProgramFolder() {
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::current_path(error) : program.parent_path();
}

// Text from a file, with anything that could upset a terminal replaced.
std::string Printable(std::string_view text) {
  std::string printable(text);
  for (char& c : printable) {
    if (!std::isprint(static_cast<unsigned char>(c))) c = '?';
  }
  return printable;
}

const char* OnOff(std::uint32_t flag) { return flag != 0 ? "on" : "off"; }

// Whether the LIN description a stored settings record refers to loads as
// the program loads it, without questions: "none", "<path> loads (...)",
// "<path> loads with relaxed rules (...)" or "<path> does not load: <why>".
std::string DescriptionReport(const settings::SettingsRecord& stored) {
  if (stored.DescriptionReference == 0) return "none";
  std::string path(settings::FieldText(stored.DescriptionPath));
  const std::string shown = Printable(path);
  std::error_code error;
  if (!fs::is_regular_file(path, error)) {
    return shown + " does not load: no such file";
  }
  app::LoadedDescription loaded;
  const signals::LoadOutcome outcome = loaded.ReloadFile(path);
  if (outcome.result == signals::LoadResult::kLoaded) {
    const signals::LinDescription& description = *loaded.Description();
    return shown + (description.loadedRelaxed ? " loads with relaxed rules (" : " loads (") +
           std::to_string(description.frames.size()) + " frames, " +
           std::to_string(description.signals.size()) + " signals)";
  }
  return shown +
         " does not load: " + StderrMessages::OneLine(signals::LdfMessageText(outcome.messageId));
}

std::string LayoutText(app::FileLayout layout) {
  return layout == app::FileLayout::Current
             ? "current, " + std::to_string(app::kCurrentFileSize) + " bytes"
             : "older, " + std::to_string(app::kOlderFileSize) + " bytes";
}

int New(const fs::path& path) {
  std::error_code error;
  if (fs::exists(fs::symlink_status(path, error))) {
    std::fprintf(stderr, "orvane-cli cfg new: '%s' already exists; it is left as it is\n", path.c_str());
    return 2;
  }
  Configuration configuration;
  app::SetDefaults(configuration, ProgramFolder().string());
  const app::WriteResult result = app::WriteConfiguration(path, configuration);
  if (!result.ok) {
    std::fprintf(stderr, "orvane-cli cfg new: %s\n", result.error.c_str());
    return 2;
  }
  std::printf("wrote the default configuration to %s\n", path.c_str());
  return 0;
}

void ShowOptions(const Configuration& c) {
  const settings::SettingsRecord& record = c.Settings;
  std::printf("LIN revision:      %s\n", record.LinRevision == settings::kLin20 ? "LIN 2.0" : "LIN 1.3");
  std::printf("LIN description:   %s\n", DescriptionReport(record).c_str());
  if (const settings::BaudRate* rate = settings::FindBaudRate(c.Options.BaudRateCode)) {
    std::printf("baud rate:         %u bit/s\n", rate->bitsPerSecond);
  } else {
    std::printf("baud rate:         unknown code %u\n", c.Options.BaudRateCode);
  }
  std::printf("logging:           %s\n", OnOff(c.Options.LoggingEnabled));
  std::printf("log numbering:     %s, number %s\n", OnOff(record.Options.LogNumbering),
              Printable(settings::FieldText(record.Options.LogNumber)).c_str());
  std::printf("mask:              %s, identifiers", OnOff(c.Options.MaskEnabled));
  int maskEntries = 0;
  for (std::uint8_t id : c.Options.MaskIds) {
    if (id == settings::kEmptyMaskId) continue;
    std::printf(" %02x", id);
    ++maskEntries;
  }
  std::printf("%s\n", maskEntries == 0 ? " none" : "");
}

void ShowSimulation(const Configuration& c) {
  std::printf("schedules:         current %d, schedule mode %s, interrupt mode %s\n",
              c.MasterRun.CurrentSchedule + 1, OnOff(static_cast<std::uint32_t>(c.MasterRun.ScheduleModeOn)),
              OnOff(static_cast<std::uint32_t>(c.MasterRun.InterruptModeOn)));
  for (std::size_t s = 0; s < simulation::kScheduleCount; ++s) {
    const simulation::MasterSchedule& schedule = c.Schedules[s];
    int enabledSlots = 0;
    for (const simulation::SimSlot& slot : schedule.slots) enabledSlots += slot.enable != 0;
    const std::string name = Printable(settings::FieldText(c.ScheduleNames[s].data(), c.ScheduleNames[s].size()));
    std::printf("  %2zu %-15s enable %-3s repeat %-3s %2d of 32 slots enabled\n", s + 1, name.c_str(),
                OnOff(schedule.enable), OnOff(schedule.repeat), enabledSlots);
  }
  std::printf("interrupt slot:    %s\n", c.InterruptSlot.enable != 0 ? "enabled" : "disabled");

  std::printf("slave master ID:   %02x\nslave responses:  ", static_cast<unsigned>(c.SlaveMasterId) & 0xFFu);
  int inUse = 0;
  for (const simulation::SimSlot& response : c.SlaveResponses) {
    if (response.enable == 0) continue;
    std::printf(" %02x", response.identifier);
    ++inUse;
  }
  std::printf("%s (%d of 16 enabled)\n", inUse == 0 ? " none" : "", inUse);

  std::printf("extended files:   ");
  int bound = 0;
  for (const simulation::ExtendedFileBinding& binding : c.ExtendedFiles) {
    const std::string path = Printable(settings::FieldText(binding.path));
    if (path.empty()) continue;
    if (binding.owner == simulation::kOwnerInterruptSlot) {
      std::printf("\n  %s (interrupt slot)", path.c_str());
    } else {
      std::printf("\n  %s (schedule %u slot %u)", path.c_str(), binding.scheduleIndex + 1u,
                  binding.slotIndex + 1u);
    }
    ++bound;
  }
  std::printf("%s\n", bound == 0 ? " none" : "");
}

int Show(const fs::path& path) {
  Configuration configuration;
  app::SetDefaults(configuration, "");
  const ReadResult result = app::ReadStoredConfiguration(path, configuration);
  if (result.status != ReadStatus::Loaded) {
    std::fprintf(stderr, "orvane-cli cfg show: %s\n", result.error.c_str());
    return 2;
  }
  std::printf("file:              %s\nlayout:            %s\n", path.c_str(),
              LayoutText(result.layout).c_str());
  ShowOptions(configuration);
  ShowSimulation(configuration);
  return 0;
}

// Reads the file as the program does at start-up, with the LIN description
// it refers to. The description's report comes from the record as stored,
// since the read forgets a description file that does not exist.
int Check(const fs::path& path) {
  Configuration configuration;
  app::SetDefaults(configuration, ProgramFolder().string());
  app::LoadedDescription descriptions;
  StderrMessages messages;
  const ReadResult result =
      app::ReadConfiguration(path, /*interactive=*/false, configuration, descriptions, messages);
  if (result.status != ReadStatus::Loaded) {
    std::fprintf(stderr, "orvane-cli cfg check: %s\n", result.error.c_str());
    return 2;
  }
  std::printf("%s loads (%s)\n", path.c_str(), LayoutText(result.layout).c_str());
  Configuration stored;
  if (app::ReadStoredConfiguration(path, stored).status == ReadStatus::Loaded) {
    std::printf("LIN description: %s\n", DescriptionReport(stored.Settings).c_str());
  }
  return 0;
}

}  // namespace

void AddCfg(CommandLine& commandLine) {
  struct Action {
    const char* name;
    const char* description;
    int (*run)(const fs::path&);
  };
  static constexpr Action kActions[] = {
      {"new", "write the default configuration to FILE (an existing FILE stays as it is)", New},
      {"show", "show the settings and tables FILE holds", Show},
      {"check", "read FILE as the program does at start-up, with its LIN description", Check},
  };
  CLI::App& cfg = commandLine.AddCommand(commandLine.root(), "cfg",
                                         "create, show or check a configuration file");
  cfg.require_subcommand(1);
  const auto path = std::make_shared<std::string>();
  for (const Action& action : kActions) {
    CLI::App& command = commandLine.AddCommand(cfg, action.name, action.description);
    command.add_option("FILE", *path, "the configuration file")->required()->type_name("");
    commandLine.RunsWhenChosen(command, [path, run = action.run] { return run(*path); });
  }
}

}  // namespace orvane::cli
