// The "Frame Parameter" page of the Option Setup dialog: a
// drawing of the LIN frame with its two-line field labels, the three space
// lists (SpaceA, SpaceB, ByteSpace, each 0-60 with an edit field) under the
// gaps they stand for, a label repeating the byte space, the "DL=" list and
// the "Total Length=%d" / "Max Length=%d" labels, recomputed whenever a
// space or the data length changes.
//
// The page holds no option values itself: the dialog fills it and reads it
// back. Threads: the user-interface thread only.
#pragma once

#include <QComboBox>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>

#include "settings/OptionSettings.h"

class QLabel;

namespace orvane::ui {

// An editable list of the spaces 0-60 that fills itself again with 0 to 60,
// keeping its text, each time it is dropped down.
class SpaceComboBox final : public QComboBox {
 public:
  explicit SpaceComboBox(QWidget* parent = nullptr);
  void showPopup() override;

 private:
  void FillChoices();
};

// The frame drawing: break, synch, ident, data and check fields with the
// gaps of SpaceA, the byte spaces and SpaceB. `longBreak` draws the second
// picture (LIN 2.0 with a non-zero BreakSelect): a break of selectable length.
class FramePicture final : public QWidget {
 public:
  explicit FramePicture(bool longBreak, QWidget* parent = nullptr);
  QSize sizeHint() const override;

  // The horizontal centre of a gap: 0 SpaceA, 1 first byte space, 2 second
  // byte space, 3 SpaceB.
  int GapCentre(int gap) const;
  // Where the two-line field labels and the lists below the drawing start.
  static constexpr int kLabelTop = 50;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool longBreak_;
};

class OptionFramePage final : public QWidget {
 public:
  enum Space { kSpaceA = 0, kSpaceB = 1, kByteSpace = 2 };

  OptionFramePage(bool longBreak, QWidget* parent = nullptr);

  // Fills the lists with 0 to 60, selects the spaces of `timing`, presets
  // "DL=" to 2 and computes the labels.
  void Fill(const settings::FrameTimingRecord& timing);

  // The first space list that does not read as 0-60, or nothing.
  std::optional<Space> FirstBadSpace() const;
  // `base` with the three spaces as the lists read (each must be valid).
  settings::FrameTimingRecord WithSpaces(settings::FrameTimingRecord base) const;
  // The "DL=" selection, 0-8.
  int DataLength() const;
  // Focuses a space list and selects its text.
  void FocusSpace(Space space);

  SpaceComboBox* SpaceList(Space space) const { return spaces_[space]; }

 private:
  void PlaceBelowPicture(QWidget* widget, int gap, int top);
  void UpdateLengthLabels();

  FramePicture* picture_;
  std::array<SpaceComboBox*, 3> spaces_{};
  QLabel* byteSpaceValue_;
  QComboBox* dataLength_;
  QLabel* totalLength_;
  QLabel* maxLength_;
};

}  // namespace orvane::ui
