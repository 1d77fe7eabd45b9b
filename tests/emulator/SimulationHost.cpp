#include "tests/emulator/SimulationHost.h"

#include <algorithm>
#include <iterator>

#include "emulator/BusEvent.h"
#include "emulator/MemoryMap.h"

namespace orvane::emulator::testing {
namespace {

std::span<const std::uint8_t> BytesOf(const TableEntry& entry) {
  return {reinterpret_cast<const std::uint8_t*>(&entry), sizeof entry};
}

}  // namespace

TableEntry Entry(EntryKind kind, std::uint8_t identifier, std::initializer_list<std::uint8_t> data,
                 std::uint16_t delay_ms) {
  TableEntry entry;
  entry.enable = kEntryEnabled;
  entry.kind = static_cast<std::uint8_t>(kind);
  entry.identifier = identifier;
  std::ranges::copy(data, entry.data);
  entry.delay_ms = delay_ms;
  return entry;
}

TableEntry ErrorEntry(std::uint8_t error_code, std::uint8_t identifier,
                      std::initializer_list<std::uint8_t> data, std::uint16_t delay_ms) {
  TableEntry entry = Entry(EntryKind::kError, identifier, data, delay_ms);
  entry.kind |= error_code;
  return entry;
}

std::int64_t FrameMicros(std::size_t data_bytes) {
  FrameOnBus frame;
  frame.response.resize(data_bytes + 1);
  return frame.End();
}

std::int32_t StampOf(std::int64_t end_micros) { return static_cast<std::int32_t>(end_micros / 1000); }

::testing::Matcher<const UnitRecord&> IsRecord(std::uint8_t kind, std::uint8_t error, std::uint8_t flags,
                                               std::uint8_t node) {
  using ::testing::Field;
  return ::testing::AllOf(Field("kind", &UnitRecord::kind, kind), Field("error", &UnitRecord::error, error),
                          Field("flags", &UnitRecord::flags, flags), Field("node", &UnitRecord::node, node));
}

std::vector<UnitRecord> OnIdentifier(const std::vector<UnitRecord>& records, std::uint8_t id) {
  std::vector<UnitRecord> found;
  std::ranges::copy_if(records, std::back_inserter(found),
                       [id](const UnitRecord& r) { return (r.ident & 0x3F) == id; });
  return found;
}

bool SimulationHost::Prepare(std::uint8_t mode) {
  return client_.TargetGo() && client_.MemoryWriteByte(kModeRegister, mode);
}

bool SimulationHost::Download(std::span<const TableEntry> entries, std::uint8_t state,
                              std::size_t table_entries) {
  const std::optional<std::uint8_t> select = client_.ReadByte(kBankSelectRegister);
  if (!select) return false;
  const int bank = *select == 1 ? 1 : 0;
  std::vector<std::uint8_t> table(table_entries * kTableEntrySize);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    std::ranges::copy(BytesOf(entries[i]), table.begin() + static_cast<std::ptrdiff_t>(i * kTableEntrySize));
  }
  return client_.MemoryWrite(kBankTableAddress[bank], table) &&
         client_.MemoryWriteByte(kBankStateAddress[bank], state);
}

bool SimulationHost::StartSchedule(std::span<const TableEntry> entries, bool run_once) {
  return Download(entries, kStateStart) && client_.MemoryWriteByte(kRunOnceRegister, run_once ? 1 : 0) &&
         client_.MemoryWriteByte(kScheduleSwitchRegister, 1);
}

bool SimulationHost::SendOneShot(const TableEntry& entry) {
  return client_.MemoryWrite(kOneShotEntryAddress, BytesOf(entry)) &&
         client_.MemoryWriteByte(kOneShotHandshakeAddress, 1);
}

}  // namespace orvane::emulator::testing
