#include "signals/LdfMessages.h"

#include <algorithm>
#include <array>
#include <utility>

namespace orvane::signals {
namespace {

#define ORVANE_LDF_FAILED "Failed to read a LIN description file.\n"

constexpr std::array<std::pair<int, std::string_view>, 13> kTexts{{
    {kMsgOpenDialogTitle, "Select LIN description file ..."},
    {kMsgOpenDialogFilter, "LIN description file (*.ldf)"},
    {kMsgReadFailed, "Failed to read a LIN description file."},
    {kMsgOutOfMemory,
     "Not enough memory to read the file.\nPlease try again after closing unnecessary files."},
    {kMsgNotLdf, "The selected file is not in the LIN description file format."},
    {kMsgProtocolVersion,
     ORVANE_LDF_FAILED "An error occurred in LIN protocol version number definition."},
    {kMsgLanguageVersion,
     ORVANE_LDF_FAILED "An error occurred in LIN language version number definition."},
    {kMsgSpeed, ORVANE_LDF_FAILED "An error occurred in LIN speed definition."},
    {kMsgNodes, ORVANE_LDF_FAILED "An error occurred in Node definition (Participating nodes)."},
    {kMsgSignals, ORVANE_LDF_FAILED "An error occurred in Signal definition (Standard signals)."},
    {kMsgFrames,
     ORVANE_LDF_FAILED "An error occurred in Frame definition (Unconditional frames)."},
    {kMsgEncodings, ORVANE_LDF_FAILED
     "An error occurred in Additional information (Signal encoding type definition)."},
    {kMsgRepresentations, ORVANE_LDF_FAILED
     "An error occurred in Additional information (Signal representation definition)."},
}};

#undef ORVANE_LDF_FAILED

}  // namespace

std::string_view LdfMessageText(int id) {
  const auto* found = std::find_if(kTexts.begin(), kTexts.end(),
                                   [id](const auto& entry) { return entry.first == id; });
  if (found == kTexts.end()) return LdfMessageText(kMsgReadFailed);
  return found->second;
}

}  // namespace orvane::signals
