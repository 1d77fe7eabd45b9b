// The smallest and largest value of each block of kBlock consecutive values
// of a series, so that a plot finds the extremes of a long stretch from its
// blocks instead of from every value (signals::DecimateForColumns).
//
// Blocks keep their places when values are dropped from the front: block k
// covers the values [k * kBlock - phase, (k + 1) * kBlock - phase) that
// exist, so block 0 may be short at the front and the last block short at
// the back. Appending touches the last block; dropping removes whole blocks
// and recomputes the new first one. Two floats per block: about 2 / kBlock
// of the values' own size.
//
// Threads: one thread at a time.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace orvane::signals {

struct ValueExtremes {
  float low = 0;
  float high = 0;
};

class BlockExtremes {
 public:
  static constexpr std::size_t kBlock = 64;

  // `value` was appended to the values.
  void Append(float value);
  // The first `count` values were removed; `remaining` are the values now.
  void DropFront(std::size_t count, std::span<const float> remaining);
  // The blocks of `values`, from scratch.
  void Assign(std::span<const float> values);
  void Clear();

  // How many values the blocks cover.
  std::size_t size() const { return size_; }
  std::size_t BlockCount() const { return blocks_.size(); }
  // The block holding value `index`.
  std::size_t BlockOf(std::size_t index) const { return (index + phase_) / kBlock; }
  // The first value of block `block` (may be size() past the last block).
  std::size_t BlockBegin(std::size_t block) const {
    return block == 0 ? 0 : block * kBlock - phase_;
  }
  const ValueExtremes& Block(std::size_t block) const { return blocks_[block]; }

 private:
  std::vector<ValueExtremes> blocks_;
  std::size_t phase_ = 0;  // values of block 0 that were dropped
  std::size_t size_ = 0;
};

}  // namespace orvane::signals
