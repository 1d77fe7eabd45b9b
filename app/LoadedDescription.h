// The LIN description the application has loaded: at most one, owned here
// while it is loaded, with the node order the Each ID table sorts by.
//
// It is the configuration read's LinDescriptionLoader (release and reload
// from the stored path, silently; relaxed when only relaxed rules let the
// file pass) and also loads a file the user chooses (through a LoadPrompt,
// which asks and reports failures). Every load parses the sections the
// program uses (signals::kDefaultSectionMask).
//
// Threads: the user-interface thread makes every call. A node order handed
// out by NodeOrder() stays valid for as long as its holder keeps it, even
// after the description is released or replaced, so that an acquisition
// thread may read it until it has ended.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "app/LinDescriptionLoader.h"
#include "monitor/MonitorUpdate.h"
#include "signals/LdfLoader.h"
#include "signals/LinDescription.h"

namespace orvane::app {

class LoadedDescription final : public LinDescriptionLoader {
 public:
  // Drops the loaded description; does nothing when none is loaded.
  void Release() override;
  // Reads the file at `path` without asking or reporting anything, with
  // relaxed rules when the strict ones fail and relaxed ones get through
  // (the description is then marked loadedRelaxed). On success it becomes
  // the loaded description; on failure none is loaded.
  bool Reload(std::string_view path) override;
  // Reload with its outcome: that of the load that got through, else the
  // strict load's.
  signals::LoadOutcome ReloadFile(std::string_view path);

  // Asks for a file through `prompt`, offering `path`, and reads it. Loaded:
  // it replaces the loaded description and `path` names it. Cancelled or
  // failed (the prompt has reported the failure): nothing changes.
  signals::LoadResult LoadChosen(std::string& path, signals::LoadPrompt& prompt);

  bool Loaded() const { return held_ != nullptr; }
  // The loaded description, or null; valid until the next release or load.
  const signals::LinDescription* Description() const;
  // The Each ID slot of each identifier in node order, or null when no
  // description is loaded.
  std::shared_ptr<const monitor::IdentifierSlotMap> NodeOrder() const;

 private:
  struct Held;

  signals::LoadOutcome Read(std::string& path, signals::LoadPrompt* prompt,
                            signals::LdfStrictness strictness);

  std::shared_ptr<const Held> held_;
};

}  // namespace orvane::app
