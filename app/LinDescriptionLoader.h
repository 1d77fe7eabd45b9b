// The part of the LIN description parser that reading a configuration file
// needs: a loaded description is released before the file's settings are
// taken, and the description the file refers to is loaded again.
//
// Called on the user-interface thread, which owns the loaded description.
#pragma once

#include <string_view>

namespace orvane::app {

class LinDescriptionLoader {
 public:
  virtual ~LinDescriptionLoader() = default;
  // Frees the loaded description; does nothing when none is loaded.
  virtual void Release() = 0;
  // Parses the description file at `path` and keeps it as the loaded one.
  // Returns true when a description is loaded afterwards; a file that does
  // not parse, strictly or with relaxed rules, leaves none loaded and
  // returns false.
  virtual bool Reload(std::string_view path) = 0;
};

}  // namespace orvane::app
