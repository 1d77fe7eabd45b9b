#include "emulator/DemoLdf.h"

#include <array>
#include <charconv>
#include <cstdio>

#include "emulator/LinFrame.h"

namespace orvane::emulator {
namespace {

std::string Real(double value) {
  std::array<char, 64> text{};
  const auto end = std::to_chars(text.begin(), text.end(), value, std::chars_format::fixed).ptr;
  return std::string(text.begin(), end);
}

std::string Hex(unsigned value) {
  std::array<char, 8> text{};
  std::snprintf(text.data(), text.size(), "0x%02x", value);
  return text.data();
}

void Line(std::string& out, int indent, const std::string& text) {
  out.append(static_cast<std::size_t>(indent) * 2, ' ');
  out += text;
  out += '\n';
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

void WriteHeader(std::string& out, const DemoNetwork& network) {
  out += "// Demo network of the Orvane virtual analyzer: a gateway master and four\n"
         "// slaves. Written from the emulator's network definition; the simulated\n"
         "// nodes send exactly these frames.\n\n";
  out += "LIN_description_file;\n";
  out += "LIN_protocol_version = " + Quoted(network.protocol_version) + ";\n";
  out += "LIN_language_version = " + Quoted(network.protocol_version) + ";\n";
  out += "LIN_speed = " + Real(network.speed_kbps) + " kbps;\n\n";
}

void WriteNodes(std::string& out, const DemoNetwork& network) {
  out += "Nodes {\n";
  Line(out, 1, "Master: " + std::string(network.master) + ", " + Real(network.time_base_ms) +
                   " ms, " + Real(network.jitter_ms) + " ms;");
  std::string slaves = "Slaves: ";
  for (std::size_t i = 0; i < network.slaves.size(); ++i) {
    slaves += (i == 0 ? "" : ", ") + std::string(network.slaves[i]);
  }
  Line(out, 1, slaves + ";");
  out += "}\n\n";
}

void WriteSignals(std::string& out, const DemoNetwork& network) {
  out += "Signals {\n";
  for (const DemoSignal& signal : network.signals) {
    std::string line = std::string(signal.name) + ": " + std::to_string(signal.size_bits) + ", " +
                       std::to_string(SignalValue(signal, 0)) + ", " +
                       std::string(network.NodeName(signal.publisher));
    for (int subscriber : signal.subscribers) line += ", " + std::string(network.NodeName(subscriber));
    Line(out, 1, line + ";");
  }
  out += "}\n\n";
}

// The go-to-sleep command travels in the master request frame 0x3C.
void WriteDiagnosticSignals(std::string& out) {
  out += "Diagnostic_signals {\n";
  for (int i = 0; i < 8; ++i) Line(out, 1, "MasterReqB" + std::to_string(i) + ": 8, 0;");
  out += "}\n\n";
}

void WriteDiagnosticFrames(std::string& out) {
  out += "Diagnostic_frames {\n";
  Line(out, 1, "MasterReq: " + Hex(kGoToSleepId) + " {");
  for (int i = 0; i < 8; ++i) Line(out, 2, "MasterReqB" + std::to_string(i) + ", " + std::to_string(8 * i) + ";");
  Line(out, 1, "}");
  out += "}\n\n";
}

void WriteFrames(std::string& out, const DemoNetwork& network) {
  out += "Frames {\n";
  for (const DemoFrame& frame : network.frames) {
    Line(out, 1, std::string(frame.name) + ": " + Hex(frame.id) + ", " +
                     std::string(network.NodeName(frame.publisher)) + ", " +
                     std::to_string(frame.length) + " {");
    for (const SignalPlacement& placement : frame.signals) {
      Line(out, 2, std::string(placement.signal) + ", " + std::to_string(placement.bit_offset) + ";");
    }
    Line(out, 1, "}");
  }
  out += "}\n\n";
}

void WriteSchedule(std::string& out, const DemoNetwork& network) {
  out += "Schedule_tables {\n";
  Line(out, 1, std::string(network.schedule_name) + " {");
  for (const ScheduleSlot& slot : network.schedule) {
    Line(out, 2, std::string(slot.frame) + " delay " + std::to_string(slot.delay_ms) + " ms;");
  }
  Line(out, 1, "}");
  out += "}\n\n";
}

void WriteEncodings(std::string& out, const DemoNetwork& network) {
  out += "Signal_encoding_types {\n";
  for (const SignalEncoding& encoding : network.encodings) {
    Line(out, 1, std::string(encoding.name) + " {");
    for (const EncodingValue& value : encoding.values) {
      if (value.kind == EncodingValue::Kind::kLogical) {
        Line(out, 2, "logical_value, " + std::to_string(value.min) + ", " + Quoted(value.text) + ";");
      } else {
        Line(out, 2, "physical_value, " + std::to_string(value.min) + ", " + std::to_string(value.max) +
                         ", " + Real(value.scale) + ", " + Real(value.offset) + ", " +
                         Quoted(value.text) + ";");
      }
    }
    Line(out, 1, "}");
  }
  out += "}\n\n";
}

void WriteRepresentations(std::string& out, const DemoNetwork& network) {
  out += "Signal_representation {\n";
  for (const SignalEncoding& encoding : network.encodings) {
    std::string users;
    for (const DemoSignal& signal : network.signals) {
      if (signal.encoding == encoding.name) users += (users.empty() ? "" : ", ") + std::string(signal.name);
    }
    if (!users.empty()) Line(out, 1, std::string(encoding.name) + ": " + users + ";");
  }
  out += "}\n";
}

}  // namespace

std::string DemoNetworkLdf(const DemoNetwork& network) {
  std::string out;
  WriteHeader(out, network);
  WriteNodes(out, network);
  WriteSignals(out, network);
  WriteDiagnosticSignals(out);
  WriteFrames(out, network);
  WriteDiagnosticFrames(out);
  WriteSchedule(out, network);
  WriteEncodings(out, network);
  WriteRepresentations(out, network);
  return out;
}

}  // namespace orvane::emulator
