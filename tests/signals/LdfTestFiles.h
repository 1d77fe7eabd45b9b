// A small valid LIN description and helpers to derive broken ones from it.
#pragma once

#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace orvane::signals::testing {

// Master M, slaves S1 and S2; three frames written in the order S2, S1, M so
// that the node reordering shows.
inline constexpr std::string_view kBaseLdf =
    "/* base description */\n"
    "LIN_description_file;\n"
    "LIN_protocol_version = \"2.1\";\n"
    "LIN_language_version = \"2.1\";\n"
    "LIN_speed = 19.2 kbps;\n"
    "Nodes {\n"
    "  Master: M, 5 ms, 0.1 ms;\n"
    "  Slaves: S1, S2;\n"
    "}\n"
    "Signals {\n"
    "  m8: 8, 0, M, S1;\n"
    "  s1a: 4, 3, S1, M;\n"
    "  s2a: 16, 0x1234, S2, M, S1;\n"
    "  s2b: 2, 1, S2, M;\n"
    "}\n"
    "Frames {\n"
    "  S2Frame: 0x25, S2 { s2a, 0; s2b, 16; }\n"
    "  S1Frame: 3, S1, 1 { s1a, 4; }\n"
    "  MFrame: 0x10, M, 2 { m8, 8; }\n"
    "}\n"
    "Signal_encoding_types {\n"
    "  Dig2 { logical_value, 0, \"off\"; logical_value, 1, \"on\"; logical_value, 2, \"err\";\n"
    "         logical_value, 3, \"void\"; }\n"
    "  Speed { physical_value, 0, 65534, 0.5, 0, \"km/h\"; logical_value, 65535, \"n/a\"; }\n"
    "}\n"
    "Signal_representation {\n"
    "  Dig2: s2b;\n"
    "  Speed: s2a;\n"
    "}\n";

// `text` with its one occurrence of `from` replaced by `to`.
inline std::string With(std::string_view text, std::string_view from, std::string_view to) {
  std::string result(text);
  const std::size_t at = result.find(from);
  EXPECT_NE(at, std::string::npos) << "not in the test file: " << from;
  if (at != std::string::npos) {
    EXPECT_EQ(result.find(from, at + 1), std::string::npos) << "twice in the test file: " << from;
    result.replace(at, from.size(), to);
  }
  return result;
}

// The base file with its encodings and representations replaced.
inline std::string WithEncodings(std::string_view encodings, std::string_view representations) {
  std::string result(kBaseLdf.substr(0, kBaseLdf.find("Signal_encoding_types")));
  return result + "Signal_encoding_types {\n" + std::string(encodings) +
         "\n}\nSignal_representation {\n" + std::string(representations) + "\n}\n";
}

}  // namespace orvane::signals::testing
