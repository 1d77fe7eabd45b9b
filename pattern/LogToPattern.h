// Turning monitor log lines into pattern lines.
//
// A monitor log line holds TIME, M/S, Tx/Rx, Command, Error, IDEN, D0-D7
// and Sum separated by ","; every complete frame ("End" command) becomes one
// pattern line "Tx|Rx,IDEN,D0,...", the data columns up to the first blank
// one, without the checksum, ended by CR LF. Other lines are dropped.
//
// The converter is fed text in chunks of any size, so that a log of any
// length converts in constant memory. One converter per conversion; not
// thread-safe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::pattern {

class LogToPatternConverter {
 public:
  // With a filter, only frames of that identifier are kept.
  explicit LogToPatternConverter(std::optional<std::uint8_t> filterIdent = std::nullopt);

  // Appends the pattern lines that `chunk` completes to `out`.
  void Feed(std::string_view chunk, std::string& out);
  // Ends a last line that has no line feed. Call once, after the last Feed.
  void Finish(std::string& out);

  // False when the text held nothing but, at most, the header line starting
  // with "TIME" (the log is then reported as "Log File Open Error.").
  bool hadContent() const { return hadContent_; }
  std::size_t linesWritten() const { return linesWritten_; }

 private:
  enum class LineState { kReading, kDropped, kEnded };

  void Accept(char c, std::string& out);
  void DecideHeader(std::string& out);
  void Put(char c, std::string& out);
  void EndField();
  void EndLineAtBlank();
  void EndLine(std::string& out);
  bool IdentKept() const;

  std::optional<std::uint8_t> filterIdent_;
  std::string headerProbe_;
  bool headerDecided_ = false;
  bool skippingHeader_ = false;
  bool pendingCarriageReturn_ = false;
  bool hadContent_ = false;
  std::size_t linesWritten_ = 0;

  // State of the line being read.
  LineState state_ = LineState::kReading;
  bool lineStarted_ = false;
  std::size_t field_ = 0;
  std::string command_;
  std::string ident_;
  std::string line_;
};

// Converts a whole log text; nothing when it holds no line after the header.
std::optional<std::string> ConvertLogText(std::string_view text,
                                          std::optional<std::uint8_t> filterIdent = std::nullopt);

}  // namespace orvane::pattern
