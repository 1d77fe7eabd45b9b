// Test helpers of the analyzer tests: a LinkApi that sits between the code
// under test and the rig's virtual analyzer, and a message sink that records.
//
// LinkTap forwards every command to the inner LinkApi and records the
// memory writes; a test can make single-byte reads of an address return a
// scripted sequence, make memory writes, flash erases or flash writes of an
// address fail, or serve monitor blocks itself. Only one LinkTap exists at a time (its LinkApi
// entries are plain functions that reach it through a static pointer).
//
// Threads: scripting and the write log belong to the test thread; the
// monitor block source is called on the acquisition thread.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "analyzer/LinkApi.h"
#include "analyzer/Sleep.h"
#include "emulator/Clock.h"
#include "monitor/MessageSink.h"

namespace orvane::analyzer::test {

class LinkTap {
 public:
  struct MemoryWriteCall {
    std::uint32_t address;
    std::vector<std::uint8_t> bytes;
  };
  // Serves one MonitorRead instead of the analyzer: fills the 27-byte header
  // and up to `maxRecords` records, returns the command's result.
  using MonitorSource =
      std::function<std::int32_t(std::uint8_t* header, std::uint8_t* records, std::uint32_t max)>;

  explicit LinkTap(const LinkApi& inner);
  ~LinkTap();
  LinkTap(const LinkTap&) = delete;
  LinkTap& operator=(const LinkTap&) = delete;

  const LinkApi& api() const { return api_; }

  // One-byte MemoryReads of `address` return these values in turn; the last
  // one repeats. Reads stay counted in ReadCount.
  void ScriptReads(std::uint32_t address, std::vector<std::uint8_t> values);
  int ReadCount(std::uint32_t address) const;
  void FailFlashErase(std::uint32_t address) { failingErases_.insert(address); }
  // FrashWrites to `address` fail without reaching the analyzer.
  void FailFlashWrite(std::uint32_t address) { failingFlashWrites_.insert(address); }
  // MemoryWrites to `address` fail without reaching the analyzer.
  void FailMemoryWrite(std::uint32_t address) { failingWrites_.insert(address); }
  void ServeMonitorBlocks(MonitorSource source) { monitorSource_ = std::move(source); }

  // Every successful or failed MemoryWrite, in order.
  const std::vector<MemoryWriteCall>& Writes() const { return writes_; }
  std::vector<MemoryWriteCall> WritesTo(std::uint32_t address) const;
  std::vector<std::uint32_t> WrittenAddresses() const;

 private:
  static LinkTap* current_;
  static std::int32_t MemoryWrite(std::uint32_t address, std::uint32_t length,
                                  const std::uint8_t* source);
  static std::int32_t MemoryRead(std::uint32_t address, std::uint32_t length,
                                 std::uint8_t* destination);
  static std::int32_t FrashErase(std::uint32_t address);
  static std::int32_t FrashWrite(std::uint32_t address, std::uint32_t length,
                                 const std::uint8_t* source);
  static std::int32_t MonitorRead(std::uint8_t* header, std::uint8_t* records,
                                  std::uint32_t maxRecords);

  LinkApi inner_;
  LinkApi api_;
  std::map<std::uint32_t, std::deque<std::uint8_t>> scriptedReads_;
  std::map<std::uint32_t, int> readCounts_;
  std::set<std::uint32_t> failingErases_;
  std::set<std::uint32_t> failingWrites_;
  std::set<std::uint32_t> failingFlashWrites_;
  MonitorSource monitorSource_;
  std::vector<MemoryWriteCall> writes_;
};

// Sleeps that advance the virtual clock instead of waiting.
inline SleepFunction SleepOn(emulator::VirtualClock& clock) {
  return [&clock](std::chrono::milliseconds duration) { clock.SleepFor(duration); };
}

// Records every box; usable from any thread.
class RecordingSink : public monitor::MessageSink {
 public:
  struct Box {
    std::string caption;
    std::string text;
    monitor::MessageIcon icon;
  };

  bool CanShow() const override { return canShow; }
  monitor::MessageAnswer Show(const monitor::MessageBoxRequest& request) override;
  std::vector<Box> Boxes() const;
  std::vector<std::string> Texts() const;

  bool canShow = true;

 private:
  mutable std::mutex mutex_;
  std::vector<Box> boxes_;
};

}  // namespace orvane::analyzer::test
