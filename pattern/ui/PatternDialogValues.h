// What the pattern dialogs keep from one use to the next while the program
// runs: the log conversion's identifier filter and the folder where a
// pattern file was last chosen or saved. None of it is stored in the
// configuration file.
//
// Threads: the user-interface thread only.
#pragma once

#include <cstdint>
#include <string>

namespace orvane::ui {

struct PatternDialogValues {
  // "Filter Enable": a log is converted keeping only frames of filterIdent.
  bool filterEnabled = false;
  std::uint8_t filterIdent = 0;
  // Where the selection dialog's browse starts when its path names no
  // folder; empty until a pattern file was chosen or saved.
  std::string lastFolder;
};

// The program's one instance.
PatternDialogValues& SharedPatternDialogValues();

}  // namespace orvane::ui
