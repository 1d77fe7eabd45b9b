#include "app/ConfigurationFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <system_error>
#include <vector>

#include "app/ConfigurationLayout.h"
#include "app/FileError.h"
#include "settings/OptionRules.h"

namespace orvane::app {

namespace {

namespace fs = std::filesystem;
using settings::SettingsRecord;

constexpr std::string_view kLin20QuestionCaption = "Load Configuration File";
constexpr std::string_view kLin20Question =
    "The loaded file has data of LIN Rev.2.0 only.    \nThe data of LIN Rev.2.0 will be lost.    "
    "\nContinue ?    ";
constexpr std::string_view kMissingExtendedFileWarning =
    "The extended file not existing was set up.\nAn extended file setup is cleared.";

struct FileImage {
  bool opened = false;
  std::vector<std::uint8_t> bytes;
  std::string error;  // set when the file could not be opened or read whole
};

// Reads the whole file, but only when its size is one of the two layouts:
// a file of any other size is not read, however large it is. Opening does
// not block on a FIFO, and only regular files count as opened.
FileImage ReadFileImage(const fs::path& path) {
  FileImage image;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    image.error = FileError("cannot open", path, errno);
    return image;
  }
  struct stat status {};
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    image.error = "cannot open '" + path.string() + "': not a regular file";
    close(fd);
    return image;
  }
  image.opened = true;
  const auto size = static_cast<std::uintmax_t>(status.st_size);
  if (!LayoutOfSize(size)) {
    image.error = "'" + path.string() + "' has " + std::to_string(size) +
                  " bytes; a configuration file has " + std::to_string(kCurrentFileSize) + " or " +
                  std::to_string(kOlderFileSize);
    close(fd);
    return image;
  }
  image.bytes.resize(size);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t got = read(fd, image.bytes.data() + done, size - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      image.error = got < 0 ? FileError("cannot read", path, errno)
                            : "'" + path.string() + "' became shorter while it was read";
      break;
    }
    done += static_cast<std::size_t>(got);
  }
  close(fd);
  return image;
}

bool IsExistingFile(std::string_view path) {
  std::error_code error;
  return !path.empty() && fs::is_regular_file(fs::path(path), error);
}

// Makes the settings taken from a file consistent with the program,
// reloading the LIN description the file refers to.
void CheckTakenSettings(SettingsRecord& record, LinDescriptionLoader& descriptions) {
  if (record.LinRevision > settings::kLin20) record.LinRevision = settings::kLin13;

  if (record.DescriptionReference != 0) {
    record.DescriptionReference = 0;
    const std::string path(settings::FieldText(record.DescriptionPath));
    if (IsExistingFile(path)) {
      if (descriptions.Reload(path)) record.DescriptionReference = 1;
    } else {
      settings::CopyToField("", record.DescriptionPath);
    }
  }
  const bool descriptionLoaded = record.DescriptionReference != 0;
  if (!descriptionLoaded) record.Selection = {};

  settings::OptionSettingsExt& options = record.Options;
  options.BreakSelect = 0;
  options.WakeupMicros = settings::ClampWakeupMicros(options.WakeupMicros);
  if (options.EachMode != 1) options.EachMode = 0;
  if (options.SortOrder > settings::kOrderOfNode || !descriptionLoaded) {
    options.SortOrder = settings::kOrderOfId;
  }
  settings::NormalizeIdentifierDefinition(record.Identifiers);
  for (settings::IoChannel& channel : options.IoChannels) channel.enabled = 0;
  for (settings::FrameHighlightCondition& condition : record.FrameHighlights) {
    condition.kind = settings::kFrameCondition;
  }
  record.Find.kind = settings::kFindErrorFrame;
}

// A slot that injects an error is always sent by the master: Tx, or the
// extended Tx on the extended-frame identifiers.
void FixUpErrorSlot(simulation::SimSlot& slot) {
  if (slot.error == 0) return;
  const bool extended = slot.identifier == simulation::kExtendedFrameIdLow ||
                        slot.identifier == simulation::kExtendedFrameIdHigh;
  slot.command = extended ? simulation::kCommandExtendedTx : simulation::kCommandTx;
}

void FixUpErrorSlots(Configuration& configuration) {
  for (simulation::MasterSchedule& schedule : configuration.Schedules) {
    for (simulation::SimSlot& slot : schedule.slots) FixUpErrorSlot(slot);
  }
  FixUpErrorSlot(configuration.InterruptSlot);
}

// Takes the settings and tables of a file that was read whole.
ReadResult TakeFile(const FileImage& image, bool interactive, Configuration& configuration,
                    LinDescriptionLoader& descriptions, monitor::MessageSink& messages) {
  if (!image.error.empty()) return {ReadStatus::Failed, image.error};
  const FileLayout layout = *LayoutOfSize(image.bytes.size());

  SettingsRecord taken = configuration.Settings;
  if (layout == FileLayout::Older) {
    // The older layout has no special frames, find condition or log numbering.
    for (settings::FrameHighlightCondition& condition : taken.FrameHighlights) {
      condition = settings::DefaultFrameHighlightCondition();
    }
    taken.Find = settings::DefaultFindCondition();
    taken.Options.LogNumbering = 0;
    settings::CopyToField("000", taken.Options.LogNumber);
  }
  DecodeSettingsRecord(image.bytes, layout, taken);

  const std::uint32_t programRevision = configuration.Settings.LinRevision;
  if (interactive && programRevision == settings::kLin13 && taken.LinRevision == settings::kLin20) {
    const auto answer = monitor::AskOkCancel(messages, kLin20QuestionCaption, kLin20Question);
    if (answer != monitor::MessageAnswer::kOk) {
      // Nothing is taken, so the loaded description stays as it is.
      return {ReadStatus::Cancelled, {}, layout};
    }
    taken.Options.BreakSelect = 0;
    settings::ConvertToLin13(taken.Identifiers);
  }
  taken.LinRevision = programRevision;
  descriptions.Release();

  configuration.Settings = taken;
  CheckTakenSettings(configuration.Settings, descriptions);
  DecodeBlocksAfterSettings(image.bytes, layout, configuration);
  FixUpErrorSlots(configuration);
  return {ReadStatus::Loaded, {}, layout};
}

// What every read does once the file was open, whatever came of it.
void ResetAfterRead(Configuration& configuration, monitor::MessageSink& messages) {
  configuration.Options.LoggingEnabled = 0;
  configuration.Options.MaskEnabled = 0;
  configuration.MasterRun.CurrentSchedule = 0;

  std::error_code error;
  for (const simulation::ExtendedFileBinding& binding : configuration.ExtendedFiles) {
    const std::string_view path = settings::FieldText(binding.path);
    if (!path.empty() && !fs::exists(fs::path(path), error)) {
      monitor::ShowWarningBox(messages, kMissingExtendedFileWarning);
      configuration.ExtendedFiles = {};
      return;
    }
  }
}

}  // namespace

WriteResult WriteConfiguration(const fs::path& path, const Configuration& configuration) {
  return WriteFileAtomically(path, EncodeConfiguration(configuration));
}

ReadResult ReadStoredConfiguration(const fs::path& path, Configuration& configuration) {
  const FileImage image = ReadFileImage(path);
  if (!image.error.empty()) return {ReadStatus::Failed, image.error};
  const FileLayout layout = *LayoutOfSize(image.bytes.size());
  DecodeSettingsRecord(image.bytes, layout, configuration.Settings);
  DecodeBlocksAfterSettings(image.bytes, layout, configuration);
  return {ReadStatus::Loaded, {}, layout};
}

ReadResult ReadConfiguration(const fs::path& path, bool interactive, Configuration& configuration,
                             LinDescriptionLoader& descriptions, monitor::MessageSink& messages) {
  const FileImage image = ReadFileImage(path);
  if (!image.opened) return {ReadStatus::Failed, image.error};
  ReadResult result = TakeFile(image, interactive, configuration, descriptions, messages);
  ResetAfterRead(configuration, messages);
  return result;
}

}  // namespace orvane::app
