// The in-memory form of a LIN description file: nodes, signals, frames,
// signal encodings and representations, with the identifier maps that the
// signal windows and the Each ID window's node order use.
//
// A description is built once by the parser (signals/LdfParser.h) and is
// read-only afterwards; any thread may read it while its owner keeps it alive.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace orvane::signals {

// Node index: the master is -1, slaves are 0 ... slave count - 1.
inline constexpr std::int32_t kMasterNode = -1;
inline constexpr std::int32_t kNoEncoding = -1;
inline constexpr int kIdentifierCount = 64;

struct Signal {
  std::string name;
  std::uint32_t size = 0;  // bits
  std::uint64_t initialValue = 0;
  std::int32_t publisher = kMasterNode;
  std::vector<std::int32_t> subscribers;  // node indices; the master is -1
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
