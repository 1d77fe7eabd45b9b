// Review of a saved monitor log or capture: "Open Monitor Log..." (also the
// command line and a dropped file). The file's records replace the monitor
// data, in rings sized to the file, and go through the same steps as live
// records (view buffer, Each ID and last-frame tables), so the Monitor, Each
// ID, Capture, Find and signal windows work on them as on a run. The Monitor
// window is titled with the file's name. The next Start ends the review.
//
// Threads: the user-interface thread, while monitoring is stopped and no
// acquisition thread runs.
#pragma once

#include <string>
#include <string_view>

#include "app/AppContext.h"
#include "review/ReviewRecords.h"

namespace orvane::app {

// Whether `path` names a file to review rather than a configuration: its
// extension is .log, .pcapng or .pcap (any case).
bool IsReviewFileName(std::string_view path);

// The open dialog for a log or capture; empty when the user cancelled.
std::optional<std::string> ChooseReviewFile(const AppContext& context);

// Shows what a read gave: an error box when the file could not be read at
// all, else the records for review and, when lines or blocks were left out,
// one warning that lists them. A cancelled read changes nothing. Returns
// whether a review is now shown.
bool ShowReview(const AppContext& context, review::ReviewReadResult result, std::string_view path);

// While a review is shown: the Each ID and signal windows show the bus as of
// the ViewBuffer record at ring index `viewIndex` (a found or marked record).
void SelectReviewRecord(const AppContext& context, std::uint32_t viewIndex);

// Puts the rings back to the monitoring capacity and forgets the review
// (the start of a run); nothing when no review is shown.
void EndReview(const AppContext& context);

}  // namespace orvane::app
