// The string-table texts of LIN description loading: the open-file dialog's
// title and filter and the numbered failure messages. Pure data; any thread.
#pragma once

#include <string_view>

namespace orvane::signals {

inline constexpr int kMsgOpenDialogTitle = 11100;
inline constexpr int kMsgOpenDialogFilter = 11101;
inline constexpr int kMsgReadFailed = 11110;
inline constexpr int kMsgOutOfMemory = 11112;
inline constexpr int kMsgNotLdf = 11200;
inline constexpr int kMsgProtocolVersion = 11201;
inline constexpr int kMsgLanguageVersion = 11202;
inline constexpr int kMsgSpeed = 11203;
inline constexpr int kMsgNodes = 11204;
inline constexpr int kMsgSignals = 11205;
inline constexpr int kMsgFrames = 11206;
inline constexpr int kMsgEncodings = 11207;
inline constexpr int kMsgRepresentations = 11208;

// The text of a message id above (lines separated by "\n"); an unknown id
// gives the text of 11110, the default failure.
std::string_view LdfMessageText(int id);

}  // namespace orvane::signals
