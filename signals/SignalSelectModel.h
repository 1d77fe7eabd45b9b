// The logic of the signal select window without its tree control: which
// check marks the tree shows for a selection, and how a click that changed
// check marks changes the selection.
//
// The window builds one model when it is set up and uses it on the
// user-interface thread; the model keeps a pointer to the description, which
// must outlive it.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "signals/LinDescription.h"
#include "signals/SignalDisplayOrder.h"
#include "signals/SignalSelection.h"

namespace orvane::signals {

// The check marks of one frame item and its signal items (in entry order).
struct FrameChecks {
  bool frame = false;
  std::vector<bool> entries;
  bool operator==(const FrameChecks&) const = default;
};

// A tree item: a frame (entry empty) or one of its signals, by display position.
struct TreeItem {
  std::size_t framePosition = 0;
  std::optional<std::size_t> entry;
  bool operator==(const TreeItem&) const = default;
};

class SignalSelectModel {
 public:
  // Without a description the tree is empty.
  SignalSelectModel(const LinDescription* description, SortOrder order);

  // Frame indices in display order, one root item each.
  const std::vector<std::uint8_t>& frames() const { return frames_; }

  // The check marks for `selection`, in display order.
  std::vector<FrameChecks> ChecksFrom(const SignalSelection& selection) const;

  // Takes the tree's check marks after a click (in display order) into the
  // selection: a frame item whose mark differs from its frame bit sets all
  // its entries to its mark; otherwise every signal item whose mark differs
  // sets its entry bit, and the frame bit tells whether any signal item is
  // checked. Returns the item that becomes the selected item, if any changed.
  // Afterwards the tree shows ChecksFrom(selection) again.
  std::optional<TreeItem> ApplyClick(const std::vector<FrameChecks>& tree,
                                     SignalSelection& selection) const;

 private:
  std::size_t EntryCount(std::uint8_t frame) const;

  const LinDescription* description_;
  std::vector<std::uint8_t> frames_;
};

}  // namespace orvane::signals
