// The one conversion of the core's UTF-8 texts into Qt strings.
#pragma once

#include <QString>
#include <string_view>

namespace orvane::ui {

inline QString QtText(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace orvane::ui
