#include "pattern/LogToPattern.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace orvane::pattern {
namespace {

// Log columns, counted from 0.
constexpr std::size_t kDirectionField = 2;
constexpr std::size_t kCommandField = 3;
constexpr std::size_t kIdentField = 5;
constexpr std::size_t kLastDataField = 13;

constexpr std::string_view kHeaderStart = "TIME";
constexpr std::string_view kEndCommand = "End       ";

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  std::ranges::transform(upper, upper.begin(),
                         [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return upper;
}

}  // namespace

LogToPatternConverter::LogToPatternConverter(std::optional<std::uint8_t> filterIdent)
    : filterIdent_(filterIdent) {}

void LogToPatternConverter::Feed(std::string_view chunk, std::string& out) {
  for (char c : chunk) Accept(c, out);
}

void LogToPatternConverter::Finish(std::string& out) {
  if (!headerDecided_) DecideHeader(out);
  if (pendingCarriageReturn_) {
    pendingCarriageReturn_ = false;
    Put('\r', out);
  }
  if (lineStarted_) EndLine(out);
}

void LogToPatternConverter::Accept(char c, std::string& out) {
  if (!headerDecided_) {
    headerProbe_.push_back(c);
    if (headerProbe_.size() == kHeaderStart.size()) DecideHeader(out);
    return;
  }
  if (skippingHeader_) {
    skippingHeader_ = c != '\n';
    return;
  }
  hadContent_ = true;
  // A carriage return right before a line feed belongs to the line end.
  if (pendingCarriageReturn_) {
    pendingCarriageReturn_ = false;
    if (c != '\n') Put('\r', out);
  }
  if (c == '\r') {
    pendingCarriageReturn_ = true;
    return;
  }
  Put(c, out);
}

void LogToPatternConverter::DecideHeader(std::string& out) {
  headerDecided_ = true;
  skippingHeader_ = headerProbe_ == kHeaderStart;
  const std::string probe = std::move(headerProbe_);
  for (char c : probe) Accept(c, out);
}

void LogToPatternConverter::Put(char c, std::string& out) {
  if (c == '\n') {
    EndLine(out);
    return;
  }
  lineStarted_ = true;
  if (state_ != LineState::kReading) return;
  if (c == ',') {
    EndField();
    return;
  }
  if (field_ == kDirectionField) {
    line_.push_back(c);
  } else if (field_ == kCommandField) {
    if (command_.size() <= kEndCommand.size()) command_.push_back(c);
  } else if (field_ >= kIdentField && field_ <= kLastDataField) {
    if (c == ' ') {
      EndLineAtBlank();
      return;
    }
    line_.push_back(c);
    if (field_ == kIdentField) ident_.push_back(c);
  }
}

void LogToPatternConverter::EndField() {
  if (field_ == kDirectionField) {
    if (!line_.ends_with("Tx") && !line_.ends_with("Rx")) {
      state_ = LineState::kDropped;
      return;
    }
  } else if (field_ == kCommandField) {
    if (command_ != kEndCommand) {
      state_ = LineState::kDropped;
      return;
    }
  } else if (field_ == kLastDataField) {
    // The checksum and anything after it are not part of the pattern.
    state_ = LineState::kEnded;
    return;
  }
  if (field_ == kDirectionField || (field_ >= kIdentField && field_ < kLastDataField)) {
    line_.push_back(',');
  }
  ++field_;
}

void LogToPatternConverter::EndLineAtBlank() {
  if (line_.ends_with(',')) line_.pop_back();
  state_ = LineState::kEnded;
}

bool LogToPatternConverter::IdentKept() const {
  // A frame without an identifier would give a line that no pattern check
  // accepts, so it is dropped like any other incomplete line.
  if (ident_.empty()) return false;
  if (!filterIdent_) return true;
  char wanted[3];
  std::snprintf(wanted, sizeof wanted, "%02X", *filterIdent_);
  return UpperCase(ident_) == wanted;
}

void LogToPatternConverter::EndLine(std::string& out) {
  if (state_ != LineState::kDropped && field_ >= kIdentField && IdentKept()) {
    if (line_.ends_with(',')) line_.pop_back();
    out += line_;
    out += "\r\n";
    ++linesWritten_;
  }
  state_ = LineState::kReading;
  lineStarted_ = false;
  field_ = 0;
  command_.clear();
  ident_.clear();
  line_.clear();
}

std::optional<std::string> ConvertLogText(std::string_view text,
                                          std::optional<std::uint8_t> filterIdent) {
  LogToPatternConverter converter(filterIdent);
  std::string out;
  converter.Feed(text, out);
  converter.Finish(out);
  if (!converter.hadContent()) return std::nullopt;
  return out;
}

}  // namespace orvane::pattern
