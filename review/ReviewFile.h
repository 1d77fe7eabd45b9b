// Reads a file saved for review, whichever kind it is: a pcapng or pcap
// capture (told by its first bytes), else a monitor log.
//
// Threads: any thread; the progress callback runs on the caller's thread.
#pragma once

#include <filesystem>

#include "review/ReviewRecords.h"

namespace orvane::review {

ReviewReadResult ReadReviewFile(const std::filesystem::path& path,
                                const ReadProgress& progress = {});

}  // namespace orvane::review
