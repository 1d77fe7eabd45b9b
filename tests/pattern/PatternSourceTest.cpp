// Loading the editor's source and writing pattern files from logs: output
// names, the unchanged pattern source, UTF-16 text, progress counters and
// the failures that must leave existing files alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "pattern/PatternSource.h"
#include "tests/pattern/TempDir.h"

namespace orvane::pattern {
namespace {

using testing::TempDir;
using namespace std::string_literals;

const std::string kLogLine =
    " 00:00:01.234     ,M,Tx,End       ,  -         ,12,01,02,03,  ,  ,  ,  ,  ,5a\r\n";

TEST(PatternOutputName, SameFileForPatternsOutSuffixOtherwise) {
  EXPECT_EQ(PatternOutputName("/data/run.ptn"), "/data/run.ptn");
  EXPECT_EQ(PatternOutputName("/data/RUN.PtN"), "/data/RUN.PtN");
  EXPECT_EQ(PatternOutputName("/data/trace.log"), "/data/trace_out.ptn");
  EXPECT_EQ(PatternOutputName("trace.log"), "trace_out.ptn");
  EXPECT_EQ(PatternOutputName("/data.d/trace"), "/data.d/trace_out.ptn");
  EXPECT_EQ(PatternOutputName("/data/a.b.txt"), "/data/a.b_out.ptn");

  EXPECT_TRUE(IsLogSource("/data/trace.LOG"));
  EXPECT_TRUE(IsLogSource("trace.log"));
  EXPECT_FALSE(IsLogSource("/data/trace.ptn"));
  EXPECT_FALSE(IsLogSource("lo"));
}

TEST(LoadingText, KilobytesByIntegerDivision) {
  ConversionProgress progress;
  progress.bytesRead = 1999;
  progress.totalBytes = 25000;
  EXPECT_EQ(LoadingText(progress), "Now Loading...  1/25[KB]");
}

TEST(LoadPatternSource, PatternTextUnchangedLogConverted) {
  TempDir dir;
  ConversionProgress progress;
  const std::string pattern = "Tx,3c,01\r\nnot checked here\n";
  const PatternSourceResult unchanged =
      LoadPatternSource(dir.Write("run.ptn", pattern), std::nullopt, progress);
  ASSERT_TRUE(unchanged.ok());
  EXPECT_EQ(unchanged.text, pattern);
  EXPECT_EQ(progress.totalBytes, pattern.size());
  EXPECT_EQ(progress.bytesRead, pattern.size());
  EXPECT_FALSE(progress.loading);

  const PatternSourceResult converted =
      LoadPatternSource(dir.Write("trace.log", kLogLine + kLogLine), std::nullopt, progress);
  ASSERT_TRUE(converted.ok());
  EXPECT_EQ(converted.text, "Tx,12,01,02,03\r\nTx,12,01,02,03\r\n");
  EXPECT_EQ(converted.patternLines, 2u);
  EXPECT_EQ(progress.bytesRead, 2 * kLogLine.size());
}

TEST(LoadPatternSource, Utf16TextInEitherByteOrder) {
  TempDir dir;
  ConversionProgress progress;
  std::string little = "\xFF\xFE";
  std::string big = "\xFE\xFF";
  for (char c : kLogLine) {
    little += std::string{c, '\0'};
    big += std::string{'\0', c};
  }
  // A character outside Latin-1 in a pattern file becomes '?'.
  const std::string wide = "\xFF\xFET\0x\0\x3A\x04\n\0"s;
  EXPECT_EQ(LoadPatternSource(dir.Write("le.log", little), std::nullopt, progress).text,
            "Tx,12,01,02,03\r\n");
  EXPECT_EQ(LoadPatternSource(dir.Write("be.log", big), std::nullopt, progress).text,
            "Tx,12,01,02,03\r\n");
  EXPECT_EQ(LoadPatternSource(dir.Write("wide.ptn", wide), std::nullopt, progress).text, "Tx?\n");
}

TEST(LoadPatternSource, FailuresNameTheSourceKind) {
  TempDir dir;
  ConversionProgress progress;
  const PatternSourceResult missingLog =
      LoadPatternSource(dir.path() / "missing.log", std::nullopt, progress);
  EXPECT_EQ(missingLog.status, PatternSourceStatus::kSourceError);
  EXPECT_EQ(missingLog.message, "Log File Open Error.");
  EXPECT_EQ(LoadPatternSource(dir.path() / "missing.ptn", std::nullopt, progress).message,
            "Pattern File Open Error.");
  const PatternSourceResult empty =
      LoadPatternSource(dir.Write("empty.log", ""), std::nullopt, progress);
  EXPECT_EQ(empty.status, PatternSourceStatus::kLogEmpty);
  EXPECT_EQ(empty.message, "Log File Open Error.");
  EXPECT_EQ(empty.text, "");
  EXPECT_FALSE(progress.loading);
}

TEST(ConvertToPatternFile, WritesTheConvertedLines) {
  TempDir dir;
  ConversionProgress progress;
  const std::filesystem::path output = dir.path() / "trace_out.ptn";
  const PatternSourceResult result =
      ConvertToPatternFile(dir.Write("trace.log", kLogLine), 0x12, output, progress);
  ASSERT_TRUE(result.ok()) << result.message;
  EXPECT_EQ(result.patternLines, 1u);
  EXPECT_EQ(TempDir::Read(output), "Tx,12,01,02,03\r\n");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "trace_out.ptn.part"));
}

TEST(ConvertToPatternFile, APatternSourceMayBeItsOwnOutput) {
  TempDir dir;
  ConversionProgress progress;
  const std::string pattern = "Tx,3c,01\r\n";
  const std::filesystem::path file = dir.Write("run.ptn", pattern);
  ASSERT_TRUE(ConvertToPatternFile(file, std::nullopt, file, progress).ok());
  EXPECT_EQ(TempDir::Read(file), pattern);
}

TEST(ConvertToPatternFile, FailuresLeaveTheExistingOutputAlone) {
  TempDir dir;
  ConversionProgress progress;
  const std::filesystem::path output = dir.Write("old.ptn", "Rx,01\n");

  const PatternSourceResult empty =
      ConvertToPatternFile(dir.Write("empty.log", ""), std::nullopt, output, progress);
  EXPECT_EQ(empty.status, PatternSourceStatus::kLogEmpty);
  EXPECT_EQ(TempDir::Read(output), "Rx,01\n");

  const PatternSourceResult unwritable = ConvertToPatternFile(
      dir.Write("trace.log", kLogLine), std::nullopt, dir.path() / "no" / "out.ptn", progress);
  EXPECT_EQ(unwritable.status, PatternSourceStatus::kOutputError);
  EXPECT_EQ(unwritable.message, "Pattern File Open Error.");

  // An output name that is a folder cannot be replaced.
  std::filesystem::create_directory(dir.path() / "folder.ptn");
  const PatternSourceResult folder = ConvertToPatternFile(dir.path() / "trace.log", std::nullopt,
                                                          dir.path() / "folder.ptn", progress);
  EXPECT_EQ(folder.status, PatternSourceStatus::kOutputError);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "folder.ptn.part"));
}

}  // namespace
}  // namespace orvane::pattern
