// Reading and writing configuration files (".cfg").
//
// Both run on the user-interface thread and block on the disk; reading may
// also block on a question or warning box (through the MessageSink) and
// on reloading the LIN description.
#pragma once

#include <filesystem>
#include <string>

#include "app/AtomicFile.h"
#include "app/Configuration.h"
#include "app/ConfigurationLayout.h"
#include "app/LinDescriptionLoader.h"
#include "monitor/MessageSink.h"

namespace orvane::app {

enum class ReadStatus {
  Failed,     // not opened, or a size that matches neither layout
  Loaded,     // the file's settings and tables were taken
  Cancelled,  // the user declined the LIN 2.0 question; nothing was taken
};

struct ReadResult {
  ReadStatus status = ReadStatus::Failed;
  std::string error;  // why the read failed, empty otherwise
  FileLayout layout = FileLayout::Current;  // the file's layout when it has one
};

// Writes `configuration` to `path` in the current layout (153337 bytes),
// replacing the file only once it is completely on the disk: a failure
// leaves a previous file untouched and no temporary file behind.
WriteResult WriteConfiguration(const std::filesystem::path& path, const Configuration& configuration);

// Reads `path` into `configuration` (the current and the older layout).
//
// A file that cannot be opened changes nothing. Once it is open, whatever
// the outcome, logging and the mask are switched off, schedule index 0
// becomes current, and when a file named in the extended file table does
// not exist the user is warned and the table is cleared.
//
// The LIN revision is never taken from the file. When `interactive` is set,
// the program runs LIN 1.3 and the file holds LIN 2.0 data, the user is
// asked first: OK converts the file's settings to LIN 1.3 (BreakSelect 0,
// enhanced checksums become classic); Cancel takes nothing from the file and
// keeps the loaded LIN description, and the result is Cancelled so that the
// load command does not adopt the file as the current configuration.
//
// When the file's settings are taken, the loaded LIN description is
// released and the one the file refers to is loaded again through
// `descriptions`; a description file that no longer exists is forgotten,
// and without a description the signal selection is cleared and the each
// mode falls back to Order of ID.
// Reads what `path` holds as it is stored, for tools that show a file:
// none of the checks, resets, questions or description loads of
// ReadConfiguration. What the older layout lacks keeps its value in
// `configuration`. Fails, changing nothing, when the file cannot be opened
// or read or its size matches neither layout.
ReadResult ReadStoredConfiguration(const std::filesystem::path& path, Configuration& configuration);

ReadResult ReadConfiguration(const std::filesystem::path& path, bool interactive,
                             Configuration& configuration, LinDescriptionLoader& descriptions,
                             monitor::MessageSink& messages);

}  // namespace orvane::app
