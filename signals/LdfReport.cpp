#include "signals/LdfReport.h"

namespace orvane::signals {
namespace {

// "line N: rule: subject", leaving out a line of 0 and an empty subject.
std::string Located(int line, const std::string& rule, const std::string& subject) {
  std::string text = line > 0 ? "line " + std::to_string(line) + ": " : std::string();
  text += rule;
  if (!subject.empty()) text += ": " + subject;
  return text;
}

}  // namespace

std::string DescribeLoadFailure(const LoadOutcome& outcome) {
  if (!outcome.openProblem.empty()) return outcome.openProblem;
  if (outcome.failedCheck.empty()) return {};
  return Located(outcome.failedLine, outcome.failedCheck, outcome.failedSubject);
}

std::string DescriptionReport(const LinDescription& description) {
  if (description.relaxations.empty()) return "No rules were relaxed.\n";
  std::string report;
  for (const Relaxation& relaxation : description.relaxations) {
    report += Located(relaxation.line, relaxation.rule, relaxation.subject) + "\n";
  }
  return report;
}

}  // namespace orvane::signals
