#include "signals/BlockExtremes.h"

#include <algorithm>

namespace orvane::signals {

void BlockExtremes::Append(float value) {
  if (BlockOf(size_) == blocks_.size()) {
    blocks_.push_back({value, value});
  } else {
    ValueExtremes& last = blocks_.back();
    last.low = std::min(last.low, value);
    last.high = std::max(last.high, value);
  }
  ++size_;
}

void BlockExtremes::DropFront(std::size_t count, std::span<const float> remaining) {
  if (count == 0) return;
  if (count >= size_) return Clear();
  const std::size_t shift = phase_ + count;
  blocks_.erase(blocks_.begin(), blocks_.begin() + static_cast<std::ptrdiff_t>(shift / kBlock));
  phase_ = shift % kBlock;
  size_ -= count;
  if (phase_ == 0) return;
  // The first block lost some of its values: its extremes from those left.
  const auto [low, high] = std::ranges::minmax(remaining.first(std::min(size_, kBlock - phase_)));
  blocks_.front() = {low, high};
}

void BlockExtremes::Assign(std::span<const float> values) {
  Clear();
  blocks_.reserve(values.size() / kBlock + 1);
  for (const float value : values) Append(value);
}

void BlockExtremes::Clear() {
  blocks_.clear();
  phase_ = 0;
  size_ = 0;
}

}  // namespace orvane::signals
