// The analyzer's memory map as the program writes it: every setting, table
// and one-shot frame reaches the analyzer as a write into its memory, and
// the measured baud rate and the table bank handshakes come back as reads.
//
// Addresses below 0x10000 are reached with MemoryWrite / MemoryRead; the
// flash areas at 0xC0000 and above with MemoryReadEx, FrashErase and
// FrashWrite. Multi-byte register values are little-endian.
//
// Threads: all register traffic runs in the user-interface thread (or the
// firmware download worker while no other thread uses the link), one command
// at a time; a RegisterMap is not shared between threads. Each operation
// blocks for its command exchanges and for its waits, which go through the
// SleepFunction given at construction. Every operation reports failure only
// by returning false; callers turn failures into catalogue messages.
#pragma once

#include <cstdint>
#include <span>

#include "analyzer/LinkApi.h"
#include "analyzer/Sleep.h"
#include "settings/IdentifierDefinition.h"
#include "settings/OptionSettings.h"

namespace orvane::analyzer {

namespace reg {
inline constexpr std::uint32_t kMode = 0x0401;
inline constexpr std::uint32_t kFrameTiming = 0x0402;  // 14-byte FrameTimingRecord
inline constexpr std::uint32_t kScheduleSwitch = 0x040F;
inline constexpr std::uint32_t kRunOnce = 0x0410;
inline constexpr std::uint32_t kInterruptSwitch = 0x0411;
inline constexpr std::uint32_t kBreakSelect = 0x0412;
inline constexpr std::uint32_t kWakeupMicros = 0x0413;  // 2 bytes
inline constexpr std::uint32_t kLinRevision = 0x0415;
inline constexpr std::uint32_t kBankSelect = 0x0416;
inline constexpr std::uint32_t kMeasuredBaud = 0x0417;  // 2 bytes
inline constexpr std::uint32_t kIoEnable = 0x0419;      // channels 1-3 at 0x0419-0x041B
inline constexpr std::uint32_t kBankTable[2] = {0x0440, 0x0610};
inline constexpr std::uint32_t kBankState[2] = {0x0600, 0x07D0};
inline constexpr std::uint32_t kOneShotEntry = 0x07E0;
inline constexpr std::uint32_t kOneShotHandshake = 0x07EE;
inline constexpr std::uint32_t kLengthTable = 0x11B0;   // 64 bytes
inline constexpr std::uint32_t kExtendedData = 0x1A00;  // + 0x100 per file
inline constexpr std::uint32_t kSerialNumber = 0xC0000;
inline constexpr std::uint32_t kVersionArea = 0xD0000;
inline constexpr std::uint32_t kImageArea = 0xE0000;
}  // namespace reg

inline constexpr std::size_t kSimEntrySize = 14;
inline constexpr std::size_t kBankTableSize = 448;   // a ScheduleTable: 32 entries
inline constexpr std::size_t kSlaveTableSize = 224;  // 16 entries
inline constexpr std::size_t kExtendedDataSize = 256;
inline constexpr std::size_t kFlashBlockSize = 256;
inline constexpr int kExtendedFileCount = 4;

// Register 0x0401.
enum AnalyzerMode : std::uint8_t {
  kAnalyzerModeNone = 0,
  kAnalyzerModeSlave = 1,
  kAnalyzerModeMaster = 2,
  kAnalyzerModeBaudrate = 3,
};

// Table bank state bytes: 0 free, 3 taken by the analyzer; the program
// writes 2 to start a master schedule and 1 to replace a running table.
enum BankState : std::uint8_t {
  kBankFree = 0,
  kBankReplace = 1,
  kBankStart = 2,
  kBankTaken = 3,
};

class RegisterMap {
 public:
  RegisterMap(const LinkApi& link, SleepFunction sleep);

  const LinkApi& link() const { return link_; }
  void Sleep(std::chrono::milliseconds duration) const { sleep_(duration); }

  // Raw access; false when the command fails.
  bool Write(std::uint32_t address, std::span<const std::uint8_t> bytes) const;
  bool WriteByte(std::uint32_t address, std::uint8_t value) const;
  bool Read(std::uint32_t address, std::span<std::uint8_t> destination) const;
  bool ReadByte(std::uint32_t address, std::uint8_t& value) const;

  // 0x0401 with the analyzer's mode code.
  bool SetAnalyzerMode(std::uint8_t mode) const;
  // Copies the timing entry of `BaudRateCode` into `TimingBlock`, then writes
  // 0x0402 (14 bytes), 0x0412, 0x0413 (2), 0x0419, 0x041A, 0x041B in this
  // order, stopping at the first failure. A code outside the baud-rate table
  // fails without any write.
  bool WriteFrameParameters(settings::OptionSettings& options,
                            const settings::OptionSettingsExt& extension) const;
  // 64 bytes at 0x11B0: the data length of each identifier, bit 7 set when it
  // uses the enhanced checksum.
  bool WriteLengthTable(const settings::IdentifierDefinition& definition) const;
  // 0x0415: 0 LIN 1.3, 1 LIN 2.0 (the low byte of the revision setting).
  bool WriteLinRevision(std::uint32_t revision) const;
  bool WriteScheduleSwitch(std::uint32_t scheduleModeOn) const;
  bool WriteInterruptSwitch(std::uint32_t interruptModeOn) const;
  // 0x0416: 1 names bank 1, any other value bank 0.
  bool SelectBank(std::uint8_t value) const;
  // Bank 1 or 2 means the state byte of bank 0 or bank 1; other bank numbers
  // fail without I/O.
  bool WriteBankState(int bank, std::uint8_t value) const;
  // Sends one entry through the analyzer's one-shot mailbox: up to 3 attempts,
  // each followed by a 50 ms wait when it fails, look for the handshake byte
  // to read 0; then the entry is written and the handshake set to 1. Blocks
  // about 150 ms when the mailbox stays busy.
  bool SendOneShotEntry(std::span<const std::uint8_t, kSimEntrySize> entry) const;
  // SendOneShotEntry with the wake-up entry 01 00 30 00 00 ... 00.
  bool SendWakeup() const;
  // 256 bytes at 0x1A00 + 0x100 * index; an index outside 0-3 fails without I/O.
  bool WriteExtendedData(int index, std::span<const std::uint8_t, kExtendedDataSize> data) const;
  // The measured baud rate in bit/s from 0x0417.
  bool ReadMeasuredBaud(std::uint16_t& bitsPerSecond) const;
  // One FrashWrite of 256 bytes: `data` padded with 0xFF. More than 256
  // bytes fail without I/O.
  bool FlashWriteBlock(std::uint32_t address, std::span<const std::uint8_t> data) const;

 private:
  const LinkApi& link_;
  SleepFunction sleep_;
};

}  // namespace orvane::analyzer
