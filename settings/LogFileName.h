// The name of the live log file and its number.
//
// When log numbering is on, every log file name carries an underscore and a
// three-digit number in front of its extension, and the number advances
// after every monitoring run that logged. Pure functions; any thread.
#pragma once

#include <string>
#include <string_view>

namespace orvane::settings {

// The log file name formed from `logPath` at the start of a run: the stem
// (everything before the extension's dot) gets "_" and `logNumber` when
// numbering is on, replacing a "_ddd" suffix the stem already ends with;
// then "." and the extension follow, or ".log" when there is none. Only a
// dot in the last path component starts an extension, so a dot in a folder
// name is left alone. An empty path without numbering stays empty: the
// default log in the program folder is meant, not a hidden ".log".
std::string FormLogFileName(std::string_view logPath, bool numbering, std::string_view logNumber);

// The log number after a run: one more than `logNumber`, 999 wrapping to
// 000, always three digits. Text that is not a number counts as 000.
std::string AdvanceLogNumber(std::string_view logNumber);

}  // namespace orvane::settings
