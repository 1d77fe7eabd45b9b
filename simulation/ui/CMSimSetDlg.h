// The "Master Simulation Setup" dialog: the schedule list (CSchListBox),
// the "Schedule", "Enable", "Repeat" and "Interrupt" switches, the 32 rows
// of the edited schedule and the interrupt row (CMSetListCtrl modes 0 and
// 1), the editing buttons "Cut", "Copy", "Overwrite Paste", "Insert Paste",
// "Delete", "Key" and "Pattern", "Extend", "Import Schedules from LIN
// Description..." (with a description loaded), OK and Cancel, and the
// accelerators Ctrl or Alt with C (Copy), X and Z (Cut), V (Overwrite
// Paste) and S (Insert Paste).
//
// It edits the application's master model in place: the rows are read
// back, checked and stored by the core (MasterSetupRows.h) when the edited
// schedule changes, on "Extend" and on OK; a refused row is selected and
// the dialog stays open. The import replaces all 16 schedules and their
// names in the model (ScheduleImport.h) and tells its notes in one box.
// Cancel leaves the restoring to the command that runs the dialog
// (app::RunMasterSimulationSetup), so it also drops an import. The editing
// buttons wait for the first click or edit in a list, the paste buttons for
// a row copied or cut; every opening starts with an empty clipboard.
//
// Modal. Threads: the user-interface thread only.
#pragma once

#include <QDialog>
#include <cstddef>
#include <optional>

#include "app/ui/ShellView.h"
#include "simulation/MasterSetupRows.h"
#include "simulation/PatternApply.h"
#include "simulation/SlotClipboard.h"

class QCheckBox;
class QPushButton;

namespace orvane::ui {

class CMSetListCtrl;
class CSchListBox;

class CMSimSetDlg final : public QDialog {
  Q_OBJECT

 public:
  explicit CMSimSetDlg(const ShellServices& services, QWidget* parent = nullptr);

  // The index of the schedule whose rows are shown.
  std::size_t editedSchedule() const { return edited_; }

 public Q_SLOTS:
  void accept() override;

 private:
  // A row of the list clicked last.
  struct TargetRow {
    CMSetListCtrl* grid;
    int row;
  };

  void BuildForm();
  QPushButton* AddButton(const char* text, const char* name);
  void BindAccelerators();

  void ShowEditedSchedule();
  void ShowInterruptSlot();
  void MarkExtendedRows();
  void PreviewPatternRows(CMSetListCtrl& grid);
  // `chosen`: the "Pattern" button chose the file; the row is previewed
  // whatever its "Pat" and a file without a suitable row is told.
  void PreviewRow(CMSetListCtrl& grid, int row, bool chosen);

  void OnScheduleSelected(int index);
  void OnListChanged(CMSetListCtrl& grid);
  void RunClipboard(simulation::ClipboardAction action);
  void ChooseKey();
  void ChoosePattern();
  void EditExtendedFiles();
  void ImportSchedules();

  // The focused row of the list clicked last; message 201 without one.
  std::optional<TargetRow> Target();
  void Refuse(const simulation::RowProblem& problem);
  simulation::SetupSwitches Switches() const;
  void EnablePasteButtons();

  const ShellServices& services_;
  app::Configuration& configuration_;
  monitor::MessageSink& messages_;
  simulation::PatternRules rules_;
  simulation::GridClipboard clipboard_;
  std::size_t edited_;
  bool modified_ = false;

  CSchListBox* schedules_ = nullptr;
  CMSetListCtrl* scheduleList_ = nullptr;
  CMSetListCtrl* interruptList_ = nullptr;
  QCheckBox* scheduleSwitch_ = nullptr;
  QCheckBox* enable_ = nullptr;
  QCheckBox* repeat_ = nullptr;
  QCheckBox* interruptSwitch_ = nullptr;
  QPushButton* cut_ = nullptr;
  QPushButton* copy_ = nullptr;
  QPushButton* overwritePaste_ = nullptr;
  QPushButton* insertPaste_ = nullptr;
  QPushButton* delete_ = nullptr;
  QPushButton* key_ = nullptr;
  QPushButton* pattern_ = nullptr;
};

}  // namespace orvane::ui
