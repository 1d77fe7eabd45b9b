// Parser cost on the largest public LDF file and on a generated description
// of 60 frames and 1020 signals. Compare the per-byte and per-signal rates of
// the cases of one run.
#include <benchmark/benchmark.h>

#include <string>

#include "signals/LdfLoader.h"
#include "signals/LdfParser.h"

namespace {

using orvane::signals::kDefaultSectionMask;
using orvane::signals::ParseLinDescription;

constexpr int kFrames = 60;
constexpr int kSignalsPerFrame = 17;
constexpr int kSlaves = 10;
constexpr int kEncodings = 100;

// Frames 0-59 published round-robin by the master and the slaves, each with
// 17 three-bit signals; every signal represented by one of 100 encodings.
std::string GeneratedLdf() {
  std::string text = "LIN_description_file;\nNodes {\n  Master: Master, 5 ms, 0.1 ms;\n  Slaves: ";
  for (int slave = 0; slave < kSlaves; ++slave) {
    text += (slave == 0 ? "Slave" : ", Slave") + std::to_string(slave);
  }
  const auto publisher = [](int frame) {
    return frame % (kSlaves + 1) == 0 ? std::string("Master")
                                      : "Slave" + std::to_string(frame % (kSlaves + 1) - 1);
  };
  const auto subscriber = [](int frame) { return "Slave" + std::to_string(frame % kSlaves); };
  text += ";\n}\nSignals {\n";
  for (int frame = 0; frame < kFrames; ++frame) {
    for (int k = 0; k < kSignalsPerFrame; ++k) {
      const std::string reader = publisher(frame) == subscriber(frame) ? "Master" : subscriber(frame);
      text += "  Sig_" + std::to_string(frame) + "_" + std::to_string(k) + ": 3, 0, " +
              publisher(frame) + ", " + reader + ";\n";
    }
  }
  text += "}\nFrames {\n";
  for (int frame = 0; frame < kFrames; ++frame) {
    text += "  Frame_" + std::to_string(frame) + ": " + std::to_string(frame) + ", " +
            publisher(frame) + ", 8 {\n";
    for (int k = 0; k < kSignalsPerFrame; ++k) {
      text += "    Sig_" + std::to_string(frame) + "_" + std::to_string(k) + ", " +
              std::to_string(3 * k) + ";\n";
    }
    text += "  }\n";
  }
  text += "}\nSignal_encoding_types {\n";
  for (int encoding = 0; encoding < kEncodings; ++encoding) {
    text += "  Enc_" + std::to_string(encoding) +
            " {\n    logical_value, 0, \"off\";\n    physical_value, 1, 6, 0.5, -1.25, \"V\";\n"
            "    logical_value, 7, \"invalid\";\n  }\n";
  }
  text += "}\nSignal_representation {\n";
  for (int encoding = 0; encoding < kEncodings; ++encoding) {
    text += "  Enc_" + std::to_string(encoding) + ": ";
    for (int signal = encoding; signal < kFrames * kSignalsPerFrame; signal += kEncodings) {
      text += (signal == encoding ? "Sig_" : ", Sig_") + std::to_string(signal / kSignalsPerFrame) +
              "_" + std::to_string(signal % kSignalsPerFrame);
    }
    text += ";\n";
  }
  return text + "}\n";
}

void ParseAndCount(benchmark::State& state, const std::string& text, std::uint32_t mask,
                   bool mustLoad) {
  std::size_t signals = 0;
  for (auto _ : state) {
    const auto outcome = ParseLinDescription(text, mask);
    if (mustLoad && outcome.description == nullptr) {
      state.SkipWithError("the description did not load");
      return;
    }
    signals = outcome.description ? outcome.description->signals.size() : 0;
    benchmark::DoNotOptimize(outcome.messageId);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
  state.counters["bytes"] = static_cast<double>(text.size());
  if (signals > 0) {
    state.counters["per_signal"] = benchmark::Counter(
        static_cast<double>(signals), benchmark::Counter::kIsIterationInvariantRate |
                                          benchmark::Counter::kInvert);
  }
}

std::string CorpusFile() {
  int messageId = 0;
  return orvane::signals::ReadLdfFile(ORVANE_SHARED_DIR "/ldf-corpus/saej3068-ref/J3068-2.ldf",
                                      messageId)
      .value_or("");
}

// The largest corpus file (93 kB, 1851 logical values) stops at its
// encodings (11207) after reading them; with the mask 0x38 it loads its
// nodes, 138 signals and 22 frames.
void BM_ParseLargestCorpusFile(benchmark::State& state) {
  static const std::string text = CorpusFile();
  ParseAndCount(state, text, kDefaultSectionMask, false);
}
BENCHMARK(BM_ParseLargestCorpusFile)->Unit(benchmark::kMicrosecond);

void BM_ParseLargestCorpusFileWithoutEncodings(benchmark::State& state) {
  static const std::string text = CorpusFile();
  ParseAndCount(state, text, 0x38, true);
}
BENCHMARK(BM_ParseLargestCorpusFileWithoutEncodings)->Unit(benchmark::kMicrosecond);

void BM_ParseGenerated1020Signals(benchmark::State& state) {
  static const std::string text = GeneratedLdf();
  ParseAndCount(state, text, kDefaultSectionMask, true);
}
BENCHMARK(BM_ParseGenerated1020Signals)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
