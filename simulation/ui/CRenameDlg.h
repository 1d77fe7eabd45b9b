// The "Rename Schedule" dialog: one edit of at most 15 characters holding
// the schedule's name. OK applies the rules of schedule names
// (CheckScheduleName): a refused name shows its text in a box titled
// "Error" (an empty name gets the old name back) and the dialog stays open
// with the edit focused and its text selected.
//
// Modal. Threads: the user-interface thread only.
#pragma once

#include <QDialog>
#include <cstddef>
#include <string>

#include "monitor/MessageSink.h"
#include "simulation/SimRecords.h"

class QLineEdit;

namespace orvane::ui {

class CRenameDlg final : public QDialog {
  Q_OBJECT

 public:
  // Renames schedule `index` of `names`.
  CRenameDlg(const simulation::ScheduleNames& names, std::size_t index,
             monitor::MessageSink& messages, QWidget* parent = nullptr);

  // The name in the edit; after Accepted, the new name.
  std::string name() const;

 public Q_SLOTS:
  void accept() override;

 private:
  const simulation::ScheduleNames& names_;
  std::size_t index_;
  monitor::MessageSink& messages_;
  QString oldName_;
  QLineEdit* edit_;
};

}  // namespace orvane::ui
