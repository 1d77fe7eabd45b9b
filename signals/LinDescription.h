// The in-memory form of a LIN description file: nodes, signals, frames,
// signal encodings and representations, with the identifier maps that the
// signal windows and the Each ID window's node order use.
//
// A description is built once by the parser (signals/LdfParser.h) and is
// read-only afterwards; any thread may read it while its owner keeps it alive.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvane::signals {

// Node index: the master is -1, slaves are 0 ... slave count - 1.
inline constexpr std::int32_t kMasterNode = -1;
inline constexpr std::int32_t kNoEncoding = -1;
// The publisher of a frame any slave may answer (SlaveResp).
inline constexpr std::int32_t kAnySlave = -2;
inline constexpr int kIdentifierCount = 64;

struct Signal {
  std::string name;
  std::uint32_t size = 0;  // bits
  std::uint64_t initialValue = 0;
  std::int32_t publisher = kMasterNode;
  std::vector<std::int32_t> subscribers;  // node indices, the master -1; empty only when relaxed
  std::int32_t encoding = kNoEncoding;    // index into encodings
};

struct FrameEntry {
  std::uint32_t signal = 0;     // index into signals
  std::uint32_t bitOffset = 0;  // first data bit, LSB of D0 is bit 0
};

struct Frame {
  std::string name;
  std::uint8_t identifier = 0;  // 0-63
  std::int32_t publisher = kMasterNode;
  std::uint8_t length = 0;  // data bytes, 1-8
  std::vector<FrameEntry> entries;
};

enum class ValueKind : std::uint8_t { kLogical = 0, kPhysical = 1, kBcd = 2, kAscii = 3 };

// One value entry of an encoding. A logical value has minimum == maximum.
// The bounds keep the file's numbers exactly (not cut to 16 bits), so that a
// value above 65535 never matches a 16-bit raw value by wrapping.
struct ValueEntry {
  ValueKind kind = ValueKind::kLogical;
  std::int64_t minimum = 0;
  std::int64_t maximum = 0;
  double scale = 0;   // physical only
  double offset = 0;  // physical only
  std::string text;   // optional text of a logical or physical value
};

struct Encoding {
  std::string name;
  std::uint32_t encodedBitSize = 0;  // 4 bcd, 8 ascii, else the bits of the largest value
  std::vector<ValueEntry> values;
};

// One slot of a schedule table: a frame by name, or a command (MasterReq,
// SlaveResp, AssignNAD {...} and the like) kept as its text.
struct ScheduleSlot {
  std::string frameName;    // the frame or command as written
  std::int32_t frame = -1;  // index into frames; -1 for commands and unknown names
  double delayMs = 0;       // the slot's "delay N ms"
};

struct ScheduleTable {
  std::string name;
  int line = 0;  // 1-based line of the table's name in the file
  std::vector<ScheduleSlot> slots;
};

// A rule that a relaxed load let pass: where, which rule, and what broke it
// (the name, text or number as written).
struct Relaxation {
  int line = 0;
  std::string rule;
  std::string subject;
};

// An event-triggered frame: its identifier carries one of its associated
// unconditional frames (by name); collisions are resolved by the schedule
// table named, empty when the file names none (LIN 2.0).
struct EventTriggeredFrame {
  std::string name;
  std::string collisionSchedule;
  std::int64_t identifier = 0;  // as written
  std::vector<std::string> frames;
};

// A sporadic frame: the master sends one of its associated frames (by name)
// in the slot.
struct SporadicFrame {
  std::string name;
  std::vector<std::string> frames;
};

// A slave's Node_attributes, where the file gives them; times in ms.
struct NodeAttributes {
  std::string node;
  std::string protocol;  // LIN_protocol as written
  std::optional<std::int64_t> configuredNad;
  std::optional<std::int64_t> initialNad;
  std::vector<std::int64_t> productId;  // supplier, function [, variant]
  std::string responseError;            // the response error signal's name
  std::optional<double> p2MinMs;
  std::optional<double> stMinMs;
  std::optional<double> nAsTimeoutMs;
  std::optional<double> nCrTimeoutMs;
  std::vector<std::string> configurableFrames;  // names, in file order
};

struct Representation {
  std::uint32_t encoding = 0;  // index into encodings
  std::vector<std::uint32_t> signals;
};

struct LinDescription {
  std::string protocolVersionText;  // only when that section was requested
  double protocolVersion = 0;
  std::string languageVersionText;
  double languageVersion = 0;
  double speedKbps = 0;

  std::string masterName;
  double timeBaseMs = 0;
  double jitterMs = 0;
  std::vector<std::string> slaves;

  std::vector<Signal> signals;  // file order
  std::vector<Frame> frames;    // the master's frames first, then slave 0's, slave 1's ...
  std::vector<Encoding> encodings;
  std::vector<Representation> representations;
  std::vector<ScheduleTable> scheduleTables;  // file order; read in every load

  // Further sections, read in every load when they follow their grammar
  // (left out otherwise, as any section the program does not use). The
  // diagnostic frames (MasterReq 0x3C, SlaveResp 0x3D) are kept apart from
  // `frames` so that the frame list, its selection masks and the node order
  // stay what the unconditional frames give; their entries index into
  // diagnosticSignals.
  std::vector<Signal> diagnosticSignals;
  std::vector<Frame> diagnosticFrames;
  std::vector<EventTriggeredFrame> eventTriggeredFrames;
  std::vector<SporadicFrame> sporadicFrames;
  std::vector<NodeAttributes> nodeAttributes;
  // One text per schedule table left out because it could not be read.
  std::vector<std::string> scheduleProblems;

  // Set by a relaxed load: every rule it let pass, in file order.
  bool loadedRelaxed = false;
  std::vector<Relaxation> relaxations;

  // For identifier 0-63 the index of its frame; identifiers without a frame
  // get frame count, frame count + 1 ... in identifier order. This is also
  // the Each ID window's slot for the identifier in node order.
  std::array<std::uint8_t, kIdentifierCount> frameIndexById = IdentityIndices();
  // Frame indices in ascending identifier order.
  std::vector<std::uint8_t> framesById;

  // The node-order slot (0-63) of an identifier; identifiers outside 0-63 are
  // returned unchanged.
  int SlotFor(int identifier) const {
    if (identifier < 0 || identifier >= kIdentifierCount) return identifier;
    return frameIndexById[static_cast<std::size_t>(identifier)];
  }

  // The master's name for kMasterNode, a slave's name for its index, "" for
  // any other index.
  const std::string& NodeName(std::int32_t node) const;

 private:
  static constexpr std::array<std::uint8_t, kIdentifierCount> IdentityIndices() {
    std::array<std::uint8_t, kIdentifierCount> indices{};
    for (std::size_t id = 0; id < indices.size(); ++id) indices[id] = static_cast<std::uint8_t>(id);
    return indices;
  }
};

}  // namespace orvane::signals
