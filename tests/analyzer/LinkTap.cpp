#include "tests/analyzer/LinkTap.h"

#include <cassert>

namespace orvane::analyzer::test {

LinkTap* LinkTap::current_ = nullptr;

LinkTap::LinkTap(const LinkApi& inner) : inner_(inner), api_(inner) {
  assert(current_ == nullptr);
  current_ = this;
  api_.MemoryWrite = &LinkTap::MemoryWrite;
  api_.MemoryRead = &LinkTap::MemoryRead;
  api_.FrashErase = &LinkTap::FrashErase;
  api_.FrashWrite = &LinkTap::FrashWrite;
  api_.MonitorRead = &LinkTap::MonitorRead;
}

LinkTap::~LinkTap() {
  current_ = nullptr;
}

void LinkTap::ScriptReads(std::uint32_t address, std::vector<std::uint8_t> values) {
  scriptedReads_[address] = std::deque<std::uint8_t>(values.begin(), values.end());
}

int LinkTap::ReadCount(std::uint32_t address) const {
  const auto found = readCounts_.find(address);
  return found == readCounts_.end() ? 0 : found->second;
}

std::vector<LinkTap::MemoryWriteCall> LinkTap::WritesTo(std::uint32_t address) const {
  std::vector<MemoryWriteCall> found;
  for (const MemoryWriteCall& call : writes_) {
    if (call.address == address) found.push_back(call);
  }
  return found;
}

std::vector<std::uint32_t> LinkTap::WrittenAddresses() const {
  std::vector<std::uint32_t> addresses;
  for (const MemoryWriteCall& call : writes_) addresses.push_back(call.address);
  return addresses;
}

std::int32_t LinkTap::MemoryWrite(std::uint32_t address, std::uint32_t length,
                                  const std::uint8_t* source) {
  current_->writes_.push_back({address, std::vector<std::uint8_t>(source, source + length)});
  if (current_->failingWrites_.contains(address)) return 0;
  return current_->inner_.MemoryWrite(address, length, source);
}

std::int32_t LinkTap::MemoryRead(std::uint32_t address, std::uint32_t length,
                                 std::uint8_t* destination) {
  ++current_->readCounts_[address];
  const auto scripted = current_->scriptedReads_.find(address);
  if (length == 1 && scripted != current_->scriptedReads_.end() && !scripted->second.empty()) {
    std::deque<std::uint8_t>& values = scripted->second;
    *destination = values.front();
    if (values.size() > 1) values.pop_front();
    return 1;
  }
  return current_->inner_.MemoryRead(address, length, destination);
}

std::int32_t LinkTap::FrashErase(std::uint32_t address) {
  if (current_->failingErases_.contains(address)) return 0;
  return current_->inner_.FrashErase(address);
}

std::int32_t LinkTap::FrashWrite(std::uint32_t address, std::uint32_t length,
                                 const std::uint8_t* source) {
  if (current_->failingFlashWrites_.contains(address)) return 0;
  return current_->inner_.FrashWrite(address, length, source);
}

std::int32_t LinkTap::MonitorRead(std::uint8_t* header, std::uint8_t* records,
                                  std::uint32_t maxRecords) {
  if (current_->monitorSource_) return current_->monitorSource_(header, records, maxRecords);
  return current_->inner_.MonitorRead(header, records, maxRecords);
}

monitor::MessageAnswer RecordingSink::Show(const monitor::MessageBoxRequest& request) {
  const std::lock_guard lock(mutex_);
  boxes_.push_back(Box{std::string(request.caption), std::string(request.text), request.icon});
  return monitor::MessageAnswer::kOk;
}

std::vector<RecordingSink::Box> RecordingSink::Boxes() const {
  const std::lock_guard lock(mutex_);
  return boxes_;
}

std::vector<std::string> RecordingSink::Texts() const {
  std::vector<std::string> texts;
  for (const Box& box : Boxes()) texts.push_back(box.text);
  return texts;
}

}  // namespace orvane::analyzer::test
