#include "review/ReadProblems.h"

#include <algorithm>

namespace orvane::review {

std::string DescribeReadProblems(const std::vector<ReadProblem>& problems, std::string_view unit,
                                 std::size_t listed) {
  if (problems.empty()) return {};
  std::string text = std::to_string(problems.size());
  text += ' ';
  text += unit;
  if (problems.size() == 1) {
    text += " could not be read and was left out: ";
  } else {
    text += "s could not be read and were left out: ";
  }
  const std::size_t named = std::min(listed, problems.size());
  for (std::size_t index = 0; index < named; ++index) {
    if (index > 0) text += ", ";
    text += std::to_string(problems[index].position);
  }
  if (named < problems.size()) {
    text += " and " + std::to_string(problems.size() - named) + " more";
  }
  text += '.';
  return text;
}

}  // namespace orvane::review
