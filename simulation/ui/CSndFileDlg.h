// The "Send File" dialog of the master setup: the slots that can send an
// extended frame file (ExtendedFileRows) in a list with the columns
// "Sch/Int", "Sch", "No." and "File". "Select File" chooses the selected
// row's file (an open-file dialog through the WindowRequests), "Clear"
// empties it, and "Close" stores the rows into the extended frame file
// table (StoreExtendedFileRows), staying open when that refuses them.
//
// Modal. Threads: the user-interface thread only.
#pragma once

#include <QDialog>
#include <filesystem>
#include <string>
#include <vector>

#include "app/WindowRequests.h"
#include "monitor/MessageSink.h"
#include "simulation/ExtendedFileRows.h"
#include "simulation/SimRecords.h"

class QTreeWidget;

namespace orvane::ui {

class CSndFileDlg final : public QDialog {
  Q_OBJECT

 public:
  // `languageCode` "JPN" gives the Japanese column widths. The file dialog
  // starts at "default.ext" in `programFolder`.
  CSndFileDlg(const simulation::MasterSchedules& schedules, const simulation::SimSlot& interruptSlot,
              simulation::ExtendedFileTable& files, std::string_view languageCode,
              const std::filesystem::path& programFolder, app::WindowRequests& windows,
              monitor::MessageSink& messages, QWidget* parent = nullptr);

 private:
  void SetUpList(std::string_view languageCode);
  void ShowRow(std::size_t row);
  // The selected row, -1 without one.
  int SelectedRow() const;
  void SelectFile();
  void ClearFile();
  void CloseAndStore();

  simulation::ExtendedFileTable& files_;
  std::filesystem::path programFolder_;
  app::WindowRequests& windows_;
  monitor::MessageSink& messages_;
  std::vector<simulation::ExtendedFileRow> rows_;
  QTreeWidget* list_;
};

}  // namespace orvane::ui
