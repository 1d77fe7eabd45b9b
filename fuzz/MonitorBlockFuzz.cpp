// The monitor block stream as the acquisition thread takes it: the input is
// what the analyzer's monitor pipe delivers, read by the link library's own
// MonitorRead (its block framing), then appended to the MonitorBuffer,
// logged, merged into the ViewBuffer and stored in the per-identifier
// tables; every new ViewBuffer record is formatted as a monitor row, and the
// Each ID rows and status texts are taken, as the views do.
//
// Input: the first byte chooses the mask, sort order and identifier field;
// then each pipe read is a 2-byte little-endian length (cut to the 512-byte
// block) followed by that many bytes. The read after the last one fails.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "fuzz/FuzzInput.h"
#include "link/Seams.h"
#include "link/orlink.h"
#include "monitor/LogWriter.h"
#include "monitor/MonitorUpdate.h"
#include "views/EachIdRows.h"
#include "views/MonitorRowFormat.h"
#include "views/StatusFields.h"

namespace {

using namespace orvane;
using orlink::driver::Handle;

constexpr Handle kDeviceHandle = 1;
constexpr Handle kMonitorPipe = 2;
constexpr Handle kOtherPipe = 3;
constexpr std::size_t kRecordCapacity = 100;

// A device with the analyzer's pipes whose monitor pipe delivers the input.
class BlockFeedDriver final : public orlink::driver::Driver {
 public:
  void Feed(std::span<const std::uint8_t> bytes) { pending_ = bytes; }

  std::string Name() const override { return "fuzz"; }
  std::optional<std::string> InterfacePath(unsigned member) override {
    if (member != 0) return std::nullopt;
    return std::string(kDevicePath);
  }
  Handle Open(const std::string& name) override {
    if (name == kDevicePath) return kDeviceHandle;
    return name.ends_with("pipe000") ? kMonitorPipe : kOtherPipe;
  }
  bool IoControl(Handle, std::uint32_t code, std::span<const std::uint8_t>,
                 std::span<std::uint8_t> output, std::size_t& returned) override {
    std::ranges::fill(output, 0);
    returned = output.size();
    if (code == orlink::driver::kCheckDevice && !output.empty()) output[0] = 1;
    return true;
  }
  bool Read(Handle handle, std::span<std::uint8_t> buffer, std::size_t& transferred) override {
    transferred = 0;
    if (handle != kMonitorPipe || pending_.size() < 2) return false;
    const std::size_t announced = pending_[0] | (pending_[1] << 8);
    pending_ = pending_.subspan(2);
    transferred = std::min({announced, pending_.size(), buffer.size()});
    std::copy_n(pending_.begin(), transferred, buffer.begin());
    pending_ = pending_.subspan(std::min(announced, pending_.size()));
    return true;
  }
  bool Write(Handle, std::span<const std::uint8_t> data, std::size_t& transferred) override {
    transferred = data.size();
    return true;
  }
  void Close(Handle) override {}

 private:
  static constexpr char kDevicePath[] = "fuzz-device";
  std::span<const std::uint8_t> pending_;
};

// Slots in reverse identifier order, like a description's node order.
class ReversedOrder final : public monitor::IdentifierSlotMap {
 public:
  int SlotFor(int identifier) const override { return monitor::kIdentifierCount - 1 - identifier; }
};

BlockFeedDriver& OpenFeed() {
  static BlockFeedDriver* driver = [] {
    auto owned = std::make_unique<BlockFeedDriver>();
    BlockFeedDriver* raw = owned.get();
    orlink::SetSleeper([](std::chrono::milliseconds) {});
    orlink::SetDriver(std::move(owned));
    fuzz::Expect(InitUSB() == 1, "the fuzz device did not open");
    return raw;
  }();
  return *driver;
}

monitor::LogFormat MakeLogFormat(bool identifierWithLengthCode) {
  monitor::LogFormat format;
  for (std::size_t id = 0; id < format.dataLengths.size(); ++id) {
    format.dataLengths[id] = static_cast<std::uint8_t>(id % 11);  // 9 and 10: all 8 bytes
  }
  format.identifierWithLengthCode = identifierWithLengthCode;
  format.hexRadix = !identifierWithLengthCode;
  return format;
}

void FormatNewRows(const monitor::MonitorState& state, std::uint32_t from, std::uint32_t to,
                   const views::RowFormat& format) {
  views::RowCells cells;
  const auto records = state.ViewBuffer.Records();
  const std::int32_t firstTime = records[from].time;  // a copy: the record is packed
  for (std::uint32_t index = from; index != to; index = (index + 1) % monitor::MonitorCapacity) {
    views::FormatRow(records[index], format, views::RowMarks{.relativeTo = firstTime},
                     cells);
    for (const views::RowCell& cell : cells.cells()) {
      fuzz::Expect(cells.Text(cell).size() == cell.length, "row cell text cut");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (size < 1) return 0;
  static const auto state = std::make_unique<monitor::MonitorState>();
  static std::FILE* const log = std::fopen("/dev/null", "wb");
  static const ReversedOrder reversed;
  BlockFeedDriver& driver = OpenFeed();

  const std::uint8_t choice = bytes[0];
  monitor::MonitorMask mask;
  mask.MaskEnabled = (choice & 0x01) != 0;
  mask.MaskIds = {0x00, 0x3C, 0x3D, 0x3E, 0x3F, static_cast<std::uint8_t>(choice >> 2), 0xFF, 0xFF};
  const int sortOrder = (choice & 0x02) ? 1 : 0;
  views::RowFormat rowFormat;
  rowFormat.layout.identifierWithLengthCode = (choice & 0x04) != 0;
  rowFormat.dataLengths = MakeLogFormat(false).dataLengths;
  monitor::LogSequenceWriter logWriter(MakeLogFormat((choice & 0x04) != 0));

  monitor::ClearMonitorFlags(*state);
  monitor::ResetMonitorData(*state);
  driver.Feed({bytes + 1, size - 1});

  monitor::MonitorBlockHeader header{};
  std::array<monitor::MonitorRecord, kRecordCapacity> block{};
  std::uint32_t idTablePosition = 0;
  while (MonitorRead(reinterpret_cast<std::uint8_t*>(&header),
                     reinterpret_cast<std::uint8_t*>(block.data()), kRecordCapacity) == 1) {
    const std::size_t count = std::min<std::size_t>(header.recordCount, kRecordCapacity);
    const std::span<const monitor::MonitorRecord> records(block.data(), count);
    monitor::AppendBlock(*state, records, header);
    logWriter.Write(log, records);
    monitor::UpdateViewBuffer(*state, mask);
    const std::uint32_t from = idTablePosition;
    idTablePosition = monitor::UpdateIdTables(*state, idTablePosition, sortOrder,
                                              sortOrder == 1 ? &reversed : nullptr);
    fuzz::Expect(idTablePosition == state->ViewBuffer.Snapshot().writeIndex,
                 "identifier tables behind the ViewBuffer");
    FormatNewRows(*state, from, idTablePosition, rowFormat);

    const monitor::MonitorBlockHeader latest = state->latestBlockHeader.Load();
    fuzz::Expect(std::memcmp(&latest, &header, sizeof header) == 0, "latest header differs");
    views::BusStatusText(latest.busStatus);
    views::PacketCountText(latest.packetCount);
    views::BusLoadText(latest.busLoad);
    const views::EachIdPage page = views::EachIdRows(state->EachIdTable, 0, monitor::kEachIdSlotCount);
    fuzz::Expect(page.rows == views::SeenSlotCount(state->EachIdTable), "Each ID rows miscounted");
  }
  return 0;
}
