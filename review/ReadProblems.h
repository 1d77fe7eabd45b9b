// The one message that lists what a read left out.
//
// Threads: pure function; any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "review/ReviewRecords.h"

namespace orvane::review {

// "3 lines could not be read and were left out: 12, 57, 203." for unit
// "line"; at most `listed` positions are named, then "and N more". Empty
// when there are no problems.
std::string DescribeReadProblems(const std::vector<ReadProblem>& problems, std::string_view unit,
                                 std::size_t listed = 20);

}  // namespace orvane::review
