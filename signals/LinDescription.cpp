#include "signals/LinDescription.h"

namespace orvane::signals {

const std::string& LinDescription::NodeName(std::int32_t node) const {
  static const std::string kNone;
  if (node == kMasterNode) return masterName;
  if (node < 0 || static_cast<std::size_t>(node) >= slaves.size()) return kNone;
  return slaves[static_cast<std::size_t>(node)];
}

}  // namespace orvane::signals
