// The schedule list of the master setup: the 16 schedule names, each cut to
// 65 pixels (ShortScheduleName) with the full name as its tooltip. A right
// click makes the item under the pointer current and offers
// "&Rename Schedule", which runs CRenameDlg; an accepted name goes into
// the schedule names at once and the item and its tooltip follow.
//
// Threads: the user-interface thread only.
#pragma once

#include <QListWidget>

#include "monitor/MessageSink.h"
#include "simulation/SimRecords.h"

namespace orvane::ui {

class CSchListBox final : public QListWidget {
  Q_OBJECT

 public:
  static constexpr int kNameWidth = 65;

  // `names` must outlive the list.
  CSchListBox(simulation::ScheduleNames& names, monitor::MessageSink& messages,
              QWidget* parent = nullptr);

  // Runs the rename dialog for schedule `index`; true when it was renamed.
  bool RenameSchedule(int index);
  // Shows every name again (after the names were replaced).
  void ShowNames();

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void ShowName(int index);

  simulation::ScheduleNames& names_;
  monitor::MessageSink& messages_;
};

}  // namespace orvane::ui
