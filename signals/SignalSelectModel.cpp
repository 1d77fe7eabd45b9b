#include "signals/SignalSelectModel.h"

#include <algorithm>

namespace orvane::signals {

SignalSelectModel::SignalSelectModel(const LinDescription* description, SortOrder order)
    : description_(description) {
  if (description_ != nullptr) frames_ = FramesInDisplayOrder(*description_, order);
}

std::size_t SignalSelectModel::EntryCount(std::uint8_t frame) const {
  return description_->frames[frame].entries.size();
}

std::vector<FrameChecks> SignalSelectModel::ChecksFrom(const SignalSelection& selection) const {
  std::vector<FrameChecks> checks;
  checks.reserve(frames_.size());
  for (const std::uint8_t frame : frames_) {
    FrameChecks frameChecks{selection.FrameSelected(frame), {}};
    for (unsigned entry = 0; entry < EntryCount(frame); ++entry) {
      frameChecks.entries.push_back(selection.EntrySelected(frame, entry));
    }
    checks.push_back(std::move(frameChecks));
  }
  return checks;
}

std::optional<TreeItem> SignalSelectModel::ApplyClick(const std::vector<FrameChecks>& tree,
                                                      SignalSelection& selection) const {
  std::optional<TreeItem> selected;
  const std::size_t positions = std::min(tree.size(), frames_.size());
  for (std::size_t position = 0; position < positions; ++position) {
    const std::uint8_t frame = frames_[position];
    const FrameChecks& marks = tree[position];
    const std::size_t entries = std::min(marks.entries.size(), EntryCount(frame));
    if (marks.frame != selection.FrameSelected(frame)) {
      for (unsigned entry = 0; entry < EntryCount(frame); ++entry) {
        selection.SelectEntry(frame, entry, marks.frame);
      }
      selection.SelectFrame(frame, marks.frame);
      selected = TreeItem{position, std::nullopt};
      continue;
    }
    bool anyChecked = false;
    for (unsigned entry = 0; entry < entries; ++entry) {
      if (marks.entries[entry] != selection.EntrySelected(frame, entry)) {
        selection.SelectEntry(frame, entry, marks.entries[entry]);
        selected = TreeItem{position, entry};
      }
      anyChecked = anyChecked || marks.entries[entry];
    }
    selection.SelectFrame(frame, anyChecked);
  }
  return selected;
}

}  // namespace orvane::signals
