// Records of every kind the pcapng export carries, and writing them into a
// capture or a log in memory, for the capture and command-line tests.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "emulator/LinFrame.h"
#include "monitor/LogWriter.h"
#include "monitor/MonitorRecord.h"
#include "review/PcapngWriter.h"
#include "review/ReviewRecords.h"

namespace orvane::review::test {

using monitor::MonitorRecord;

inline MonitorRecord Record(std::int32_t time, std::uint8_t kind, std::uint8_t error,
                            std::uint8_t id, std::uint8_t node = monitor::kNodeMaster,
                            std::uint8_t flags = 0) {
  MonitorRecord record{};
  record.time = time;
  record.node = node;
  record.flags = flags;
  record.kind = kind;
  record.error = error;
  record.ident = emulator::ProtectedId(id);
  record.sync = 0x55;
  return record;
}

// A frame of `length` data bytes 0x11, 0x22, ... and the checksum `model`
// gives (or `checksum` when given).
inline MonitorRecord FrameRecord(std::int32_t time, std::uint8_t id, int length,
                                 emulator::ChecksumModel model,
                                 std::uint8_t kind = monitor::kKindEnd,
                                 std::uint8_t error = monitor::kErrorNone) {
  MonitorRecord record = Record(time, kind, error, id, monitor::kNodeSlave);
  for (int index = 0; index < length; ++index) {
    record.data[index] = static_cast<std::uint8_t>(0x11 * (index + 1));
  }
  record.checksum = emulator::FrameChecksum(
      model, record.ident,
      std::span<const std::uint8_t>(record.data, static_cast<std::size_t>(length)));
  return record;
}

// An extended frame of `length` data bytes 1, 2, 3, ...: a header record
// with 7 data bytes and continuation records of 19.
inline std::vector<MonitorRecord> ExtendedGroup(std::int32_t time, std::uint8_t id, int length) {
  const int records = length <= 7 ? 1 : 1 + (length - 7 + 18) / 19;
  std::vector<MonitorRecord> group(static_cast<std::size_t>(records));
  group[0] = Record(time, monitor::kKindEnd, monitor::kErrorNone, id, monitor::kNodeMaster,
                    static_cast<std::uint8_t>(MonitorRecord::kTxFlag | records));
  group[0].SetExtLength(static_cast<std::uint16_t>(length));
  for (int index = 0; index < length; ++index) {
    const int byte = index < 7 ? 12 + index : 19 * (1 + (index - 7) / 19) + (index - 7) % 19;
    group[static_cast<std::size_t>(byte / 19)].MutableBytes()[static_cast<std::size_t>(byte % 19)] =
        static_cast<std::uint8_t>(index + 1);
  }
  return group;
}

// Data lengths 2, 4 or 8 from the identifier bits 4-5 (the defaults).
inline monitor::LogFormat DefaultLengths() {
  monitor::LogFormat format;
  for (int id = 0; id < monitor::kIdentifierCount; ++id) {
    format.dataLengths[static_cast<std::size_t>(id)] =
        static_cast<std::uint8_t>(monitor::LengthCodeOf(static_cast<std::uint8_t>(id)));
  }
  return format;
}

// One record of each kind and error mapping, in time order.
inline std::vector<MonitorRecord> VariedRecords() {
  using emulator::ChecksumModel;
  std::vector<MonitorRecord> records = {
      FrameRecord(-20, 0x12, 2, ChecksumModel::kClassic),
      FrameRecord(0, 0x3C, 8, ChecksumModel::kClassic),
      FrameRecord(10, 0x25, 4, ChecksumModel::kEnhanced),
      Record(15, monitor::kKindRequest, monitor::kErrorNone, 0x21),
      FrameRecord(20, 0x30, 8, ChecksumModel::kClassic, monitor::kKindError,
                  monitor::kErrorChecksum),
      Record(30, monitor::kKindError, monitor::kErrorNoResponse, 0x05, monitor::kNodeMaster,
             MonitorRecord::kTxFlag),
      Record(40, monitor::kKindSimulationError, monitor::kErrorParity, 0x06),
      Record(50, monitor::kKindError, monitor::kErrorOverrun, 0x07),
      Record(60, monitor::kKindError, monitor::kErrorBuffer, 0x08),
      Record(70, monitor::kKindError, monitor::kErrorSyncField, 0x09, monitor::kNodeNeither),
      Record(80, monitor::kKindSleep, monitor::kErrorNone, 0x3C),
      Record(90, monitor::kKindBusSleep, monitor::kErrorNone, 0x00),
      Record(100, monitor::kKindWakeup, monitor::kErrorNone, 0x00),
      Record(110, monitor::kKindMasterBreak, monitor::kErrorNone, 0x00),
      Record(120, monitor::kKindIoFirst, monitor::kErrorNone, 0x00, 0),
      Record(130, monitor::kKindIoLast, monitor::kErrorNone, 0x00, 0),
  };
  records[4].checksum ^= 0xFF;  // a checksum error
  for (const MonitorRecord& record : ExtendedGroup(140, 0x3E, 40)) records.push_back(record);
  records.push_back(FrameRecord(150, 0x01, 2, ChecksumModel::kClassic));
  return records;
}

// The capture the writer makes of `records`.
inline std::vector<std::uint8_t> WriteCapture(const std::vector<MonitorRecord>& records,
                                              const monitor::LogFormat& format,
                                              const RecordingSource& source) {
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* file = ::open_memstream(&buffer, &size);
  PcapngWriter writer(file, format, false);
  writer.Begin(source);
  writer.Write(records);
  writer.Finish();
  std::fclose(file);
  std::vector<std::uint8_t> bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

// The log the analyzer's live logging writes of `records`, with the default
// data lengths.
inline std::string WriteLog(const std::vector<MonitorRecord>& records) {
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* file = ::open_memstream(&buffer, &size);
  monitor::WriteLogHeader(file);
  monitor::LogSequenceWriter(DefaultLengths()).Write(file, records);
  std::fclose(file);
  std::string text(buffer, size);
  std::free(buffer);
  return text;
}

inline bool SameBytes(const MonitorRecord& a, const MonitorRecord& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace orvane::review::test
