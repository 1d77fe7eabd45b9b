// orvane-cli convert IN OUT: turns a monitor log into a pcapng capture that
// Wireshark reads (link type LIN), and a pcapng or pcap capture back into a
// monitor log. The input's kind is taken from its content, the output's
// from its extension (.log or .pcapng; pcap is read but not written). With
// --signals LDF the output is a CSV of the decoded signals of every frame
// received (all signals, or those named with --signal). What could not be
// read is left out and counted on stderr; the output is written whole or not
// at all.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "app/AtomicFile.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "monitor/LogWriter.h"
#include "review/PcapngWriter.h"
#include "review/ReadProblems.h"
#include "review/ReviewFile.h"
#include "review/SignalCsv.h"
#include "signals/LdfLoader.h"
#include "signals/LdfMessages.h"
#include "signals/LinDescription.h"

namespace orvane::cli {
namespace {

struct ConvertOptions {
  std::string input;
  std::string output;
  std::string descriptionPath;
  std::vector<std::string> signalNames;
};

enum class OutputKind { kLog, kPcapng, kSignalCsv };

int Fail(std::string_view message) {
  return cli::Fail("convert", message);
}

std::string LowerExtension(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  std::ranges::transform(extension, extension.begin(),
                         [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

// The output's bytes, built in memory with the FILE-based writers.
class MemoryFile {
 public:
  MemoryFile() : file_(::open_memstream(&buffer_, &size_)) {}
  ~MemoryFile() {
    if (file_ != nullptr) std::fclose(file_);
    std::free(buffer_);
  }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  std::FILE* get() const { return file_; }
  std::span<const std::uint8_t> Close() {
    std::fclose(file_);
    file_ = nullptr;
    return {reinterpret_cast<const std::uint8_t*>(buffer_), size_};
  }

 private:
  char* buffer_ = nullptr;
  std::size_t size_ = 0;
  std::FILE* file_;
};

// The description for --signals; its message on stderr when it cannot be read.
std::unique_ptr<signals::LinDescription> LoadDescription(std::string path) {
  std::unique_ptr<signals::LinDescription> description;
  const signals::LoadOutcome outcome =
      signals::Load(path, nullptr, signals::kDefaultSectionMask, description);
  if (outcome.result == signals::LoadResult::kLoaded) return description;
  std::fprintf(stderr, "%s: %d: %s\n", path.c_str(), outcome.messageId,
               std::string(signals::LdfMessageText(outcome.messageId)).c_str());
  return nullptr;
}

void WriteSignalCsv(std::FILE* file, const signals::LinDescription& description,
                    const std::vector<std::string>& signalNames,
                    const review::ReviewRecords& review) {
  std::ostringstream text;
  review::WriteSignalCsv(text, description, signalNames, review.records);
  const std::string bytes = std::move(text).str();
  std::fwrite(bytes.data(), 1, bytes.size(), file);
}

void WriteRecords(std::FILE* file, OutputKind kind, const review::ReviewRecords& review) {
  if (kind == OutputKind::kLog) {
    monitor::WriteLogHeader(file);
    monitor::LogSequenceWriter(review.format).Write(file, review.records);
    return;
  }
  review::PcapngWriter writer(file, review.format, false);
  writer.Begin(review.source);
  writer.Write(review.records);
  writer.Finish();
}

// The kind of output `options` ask for; an error message when they cannot.
std::variant<OutputKind, std::string> OutputKindOf(const ConvertOptions& options) {
  const std::string extension = LowerExtension(options.output);
  if (!options.descriptionPath.empty()) {
    if (extension != ".csv") return "with --signals the output must end in .csv: " + options.output;
    return OutputKind::kSignalCsv;
  }
  if (extension == ".pcap") return std::string("pcap is read only; name the output .pcapng");
  if (extension == ".log") return OutputKind::kLog;
  if (extension == ".pcapng") return OutputKind::kPcapng;
  return "the output must end in .log or .pcapng: " + options.output;
}

int Convert(const ConvertOptions& options) {
  const auto kind = OutputKindOf(options);
  if (const auto* message = std::get_if<std::string>(&kind)) return Fail(*message);
  std::unique_ptr<signals::LinDescription> description;
  if (std::get<OutputKind>(kind) == OutputKind::kSignalCsv) {
    description = LoadDescription(options.descriptionPath);
    if (!description) return Fail("cannot read the LIN description " + options.descriptionPath);
  }

  const review::ReviewReadResult read = review::ReadReviewFile(options.input);
  if (!read.error.empty()) return Fail(options.input + ": " + read.error);
  if (!read.review.problems.empty()) {
    std::fprintf(
        stderr, "%s: %s\n", options.input.c_str(),
        review::DescribeReadProblems(read.review.problems, read.review.positionUnit).c_str());
  }

  MemoryFile memory;
  if (memory.get() == nullptr) return Fail("out of memory");
  if (description) {
    WriteSignalCsv(memory.get(), *description, options.signalNames, read.review);
  } else {
    WriteRecords(memory.get(), std::get<OutputKind>(kind), read.review);
  }
  const app::WriteResult written = app::WriteFileAtomically(options.output, memory.Close());
  if (!written.ok) return Fail(options.output + ": " + written.error);
  std::printf("wrote %zu records to %s\n", read.review.records.size(), options.output.c_str());
  return 0;
}

}  // namespace

void AddConvert(CommandLine& commandLine) {
  CLI::App& convert = commandLine.AddCommand(
      commandLine.root(), "convert",
      "convert a monitor log to pcapng for Wireshark, or a capture to a log");
  const auto options = std::make_shared<ConvertOptions>();
  convert.add_option("IN", options->input, "the monitor log, pcapng or pcap file to read")
      ->required()
      ->type_name("");
  convert
      .add_option("OUT", options->output,
                  "the file to write: .log, .pcapng, or .csv with --signals")
      ->required()
      ->check(NotEmpty())
      ->type_name("");
  convert
      .add_option("--signals", options->descriptionPath,
                  "write the decoded signals of every frame received as CSV, with this LIN "
                  "description file")
      ->type_name("LDF");
  convert
      .add_option("--signal", options->signalNames,
                  "with --signals: only this signal (repeat for more; default all)")
      ->type_name("NAME");
  commandLine.RunsWhenChosen(convert, [options] { return Convert(*options); });
}

}  // namespace orvane::cli
