// A trivially copyable value that one thread stores and others load without
// a lock and without ever seeing a mix of two stores. A sequence counter is
// odd while a store is under way; a load that saw it odd or changed copies
// again. The bytes travel in 64-bit atomic words (stored with release, loaded
// with acquire), so a load overlapping a store is not a data race: it reads
// some words of the store in progress, then sees the sequence changed.
//
// Threads: one writer at a time; any number of readers on any thread.
#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace orvane::monitor {

template <typename Value>
class SequencedValue {
  static_assert(std::is_trivially_copyable_v<Value> && sizeof(Value) >= 8);

 public:
  // Retries only while a store overlaps it.
  Value Load() const {
    Value value;
    auto* const bytes = reinterpret_cast<unsigned char*>(&value);
    for (;;) {
      const std::uint32_t before = sequence_.load(std::memory_order_acquire);
      for (std::size_t index = 0; index < kWordCount; ++index) {
        const std::uint64_t word = words_[index].load(std::memory_order_acquire);
        std::memcpy(bytes + WordOffset(index), &word, sizeof word);
      }
      if (before % 2 == 0 && sequence_.load(std::memory_order_relaxed) == before) return value;
    }
  }

  void Store(const Value& value) {
    const auto* const bytes = reinterpret_cast<const unsigned char*>(&value);
    const std::uint32_t sequence = sequence_.load(std::memory_order_relaxed);
    sequence_.store(sequence + 1, std::memory_order_relaxed);
    for (std::size_t index = 0; index < kWordCount; ++index) {
      std::uint64_t word;
      std::memcpy(&word, bytes + WordOffset(index), sizeof word);
      words_[index].store(word, std::memory_order_release);
    }
    sequence_.store(sequence + 2, std::memory_order_release);
  }

 private:
  static constexpr std::size_t kWordCount = (sizeof(Value) + 7) / 8;
  // The last word ends with the value, overlapping the one before it.
  static constexpr std::size_t WordOffset(std::size_t index) {
    return std::min(index * 8, sizeof(Value) - 8);
  }

  std::atomic<std::uint32_t> sequence_{0};
  std::array<std::atomic<std::uint64_t>, kWordCount> words_{};
};

}  // namespace orvane::monitor
