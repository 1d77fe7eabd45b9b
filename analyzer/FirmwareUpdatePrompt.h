// The firmware update conversation with the user, as OpenAnalyzer needs it.
// The GUI's CDownloadDlg implements it with a modal dialog; orvane-cli with
// text on the terminal; tests with a scripted user. FirmwareUpdateController
// holds the conversation's rules so that every implementation behaves alike.
#pragma once

#include "analyzer/AnalyzerIdentity.h"

namespace orvane::analyzer {

enum class FirmwareUpdateResult {
  kOk,      // the user went through the download, whatever its outcome
  kCancel,  // the user declined the update or cancelled the download
};

class FirmwareUpdatePrompt {
 public:
  virtual ~FirmwareUpdatePrompt() = default;

  // Asks whether to replace the analyzer's firmware with the version the
  // identity requires and, when the user agrees, runs the download while
  // showing its progress. Called on the user-interface thread; blocks until
  // the conversation is over.
  virtual FirmwareUpdateResult RunFirmwareUpdate(const AnalyzerIdentity& identity) = 0;
};

}  // namespace orvane::analyzer
