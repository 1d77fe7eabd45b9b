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
  Release();
  std::string file(path);
  return Read(file, nullptr) == signals::LoadResult::kLoaded;
}

signals::LoadResult LoadedDescription::LoadChosen(std::string& path, signals::LoadPrompt& prompt) {
  return Read(path, &prompt);
}

signals::LoadResult LoadedDescription::Read(std::string& path, signals::LoadPrompt* prompt) {
  std::unique_ptr<signals::LinDescription> parsed;
  const signals::LoadResult result =
      signals::Load(path, prompt, signals::kDefaultSectionMask, parsed).result;
  if (result == signals::LoadResult::kLoaded) {
    held_ = std::make_shared<const Held>(std::move(*parsed));
  }
  return result;
}

const signals::LinDescription* LoadedDescription::Description() const {
  return held_ ? &held_->description : nullptr;
}

std::shared_ptr<const monitor::IdentifierSlotMap> LoadedDescription::NodeOrder() const {
  if (!held_) return nullptr;
  return {held_, &held_->nodeOrder};
}

}  // namespace orvane::app
