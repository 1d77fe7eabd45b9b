// The Find window: a modeless dialog that edits the find condition (I/O
// event, error frame, or frame of an identifier with its data compared byte
// by byte or bit by bit, edges included) and makes the Monitor window search
// its history for it.
//
// The dialog edits a copy of the application's find condition. "Find"
// stores the copy, enables "Next" and asks the Monitor view for the first
// hit; "Next" for the following one (update codes 12 and 13, with the
// Monitor window opened first when it is closed). Any other control
// disables "Next" until the next "Find". "Close" stores the copy too.
// "Detail" shows the bit patterns, "Simple" hides them again. "Find" and
// "Next" are offered only while monitoring is stopped, that is from the
// moment the stop has completed and the rings are no longer written.
//
// Fields are checked when they are left, and any pending entry again before
// "Find" and "Close"; a rejected entry is reported in a box titled "Find
// Window" and the field shows its previous text again.
//
// Threads: the user-interface thread only.
#pragma once

#include <QDialog>
#include <array>

#include "app/AppContext.h"
#include "app/ui/ShellView.h"
#include "settings/FindCondition.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace orvane::ui {

class CFindDlg final : public QDialog, public ShellView {
  Q_OBJECT

 public:
  explicit CFindDlg(const app::AppContext& context, QWidget* parent = nullptr);

  // "Find" and "Next" follow the run state.
  void OnMonitoringChanged(bool monitoring) override;
  void OnViewUpdate(const app::ViewUpdateCodes& codes) override;

  // What tests drive and look at.
  const settings::FindCondition& edited() const { return condition_; }
  bool detailed() const { return detailed_; }
  QPushButton* findButton() const { return find_; }
  QPushButton* nextButton() const { return next_; }
  QPushButton* layoutButton() const { return layout_; }
  QPushButton* closeButton() const { return close_; }
  QButtonGroup* kindGroup() const { return kindGroup_; }
  QButtonGroup* modeGroup() const { return modeGroup_; }
  QComboBox* ioEventField() const { return ioEvent_; }
  QLineEdit* identifierField() const { return identifier_; }
  QCheckBox* dataCompareBox() const { return dataCompare_; }
  QLineEdit* byteField(int byte) const { return bytes_[static_cast<std::size_t>(byte)]; }
  // Bit `bit` (0 = least significant) of data byte `byte`.
  QLineEdit* bitField(int byte, int bit) const;
  QToolButton* bitButton(int byte, int bit) const;

 public Q_SLOTS:
  // Escape closes the window as "Close" does.
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* MakeConditionGroup();
  QWidget* MakeByteFields();
  QWidget* MakeBitFields();
  QWidget* MakeButtons();
  void Fill();
  void FillIoEventNames();
  void UpdateFields();
  void UpdateButtons();
  void DisarmNext();
  void ShowDetail(bool detailed);
  void OnFind();
  void OnNext();
  void RequestSearch(std::int32_t code);
  // Each takes a pending entry of its field into the copy; false (box
  // shown, previous text back) when the entry is rejected.
  bool CommitIdentifier();
  bool CommitBytePattern(int byte);
  bool CommitBitPattern(int byte, int bit);
  bool CommitPendingEntries();
  void Reject(QLineEdit& field, const QString& previous, std::string_view text);
  int DataLength() const;

  const app::AppContext& context_;
  settings::FindCondition condition_;
  bool nextArmed_ = false;
  bool detailed_ = true;

  QButtonGroup* kindGroup_ = nullptr;
  QComboBox* ioEvent_ = nullptr;
  QLineEdit* identifier_ = nullptr;
  QCheckBox* dataCompare_ = nullptr;
  QButtonGroup* modeGroup_ = nullptr;
  std::array<QLineEdit*, settings::kFindDataBytes> bytes_{};
  QWidget* bitPanel_ = nullptr;
  std::array<std::array<QLineEdit*, 8>, settings::kFindDataBytes> bits_{};
  std::array<std::array<QToolButton*, 8>, settings::kFindDataBytes> bitButtons_{};
  QPushButton* find_ = nullptr;
  QPushButton* next_ = nullptr;
  QPushButton* layout_ = nullptr;
  QPushButton* close_ = nullptr;
};

}  // namespace orvane::ui
