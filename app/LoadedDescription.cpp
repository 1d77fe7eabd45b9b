#include "app/LoadedDescription.h"

#include <utility>

#include "signals/NodeOrderSlotMap.h"

namespace orvane::app {

// A parsed description with its node order over it; never moved, so the
// map's reference stays good.
struct LoadedDescription::Held {
  explicit Held(signals::LinDescription parsed) : description(std::move(parsed)) {}
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;

  const signals::LinDescription description;
  const signals::NodeOrderSlotMap nodeOrder{description};
};

void LoadedDescription::Release() {
  held_.reset();
}

bool LoadedDescription::Reload(std::string_view path) {
  return ReloadFile(path).result == signals::LoadResult::kLoaded;
}

signals::LoadOutcome LoadedDescription::ReloadFile(std::string_view path) {
  Release();
  std::string file(path);
  signals::LoadOutcome strict = Read(file, nullptr, signals::LdfStrictness::kStrict);
  if (strict.result == signals::LoadResult::kLoaded || !strict.relaxable) return strict;
  // The user may have loaded it with relaxed rules: it comes back so, marked
  // relaxed, rather than not at all.
  signals::LoadOutcome relaxed = Read(file, nullptr, signals::LdfStrictness::kRelaxed);
  return relaxed.result == signals::LoadResult::kLoaded ? relaxed : strict;
}

signals::LoadResult LoadedDescription::LoadChosen(std::string& path, signals::LoadPrompt& prompt) {
  return Read(path, &prompt, signals::LdfStrictness::kStrict).result;
}

signals::LoadOutcome LoadedDescription::Read(std::string& path, signals::LoadPrompt* prompt,
                                             signals::LdfStrictness strictness) {
  std::unique_ptr<signals::LinDescription> parsed;
  signals::LoadOutcome outcome =
      signals::Load(path, prompt, signals::kDefaultSectionMask, parsed, strictness);
  if (outcome.result == signals::LoadResult::kLoaded) {
    held_ = std::make_shared<const Held>(std::move(*parsed));
  }
  return outcome;
}

const signals::LinDescription* LoadedDescription::Description() const {
  return held_ ? &held_->description : nullptr;
}

std::shared_ptr<const monitor::IdentifierSlotMap> LoadedDescription::NodeOrder() const {
  if (!held_) return nullptr;
  return {held_, &held_->nodeOrder};
}

}  // namespace orvane::app
