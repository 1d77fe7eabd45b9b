// The slave simulation monitor's form: the 16 slave responses with their
// checksums (CSMonitListCtrl), the read-only "Master ID", "Wakeup" and
// "Close".
//
// The main frame's updates of the slave family: 3 (the setup changed) shows
// the responses again and copies their identifiers and data into the slave
// table; 5 and 6 (monitoring started, stopped) enable and disable "Wakeup",
// which is only offered while a slave run is in progress. While that run
// goes on, a 300 ms timer shows the frame in force of every enabled
// pattern-driven response (its slave table entry).
//
// A double click edits a cell: while stopped the "Error" drop-down and a
// data byte go into the response (a data byte also into its entry); while a
// slave run is in progress one editor spans D0-D7 ("12,34,...") and the
// bytes, like an "Error" choice, go into the entry and the response at once
// so that the next simulation tick downloads them.
//
// Threads: the user-interface thread only.
#pragma once

#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstddef>

#include "app/ui/ShellView.h"

class QLineEdit;
class QPushButton;

namespace orvane::ui {

class CSMonitListCtrl;

class CSlavMonitFView final : public QWidget, public ShellView {
  Q_OBJECT

 public:
  static constexpr std::chrono::milliseconds kFollowPeriod{300};

  explicit CSlavMonitFView(const ShellServices& services, QWidget* parent = nullptr);

  void OnViewUpdate(const app::ViewUpdateCodes& codes) override;

  // The 300 ms timer's work, only while a slave run is in progress.
  void OnFollowTimer();

  CSMonitListCtrl& list() const { return *list_; }

 private:
  void BuildForm();
  bool SlaveRunInProgress() const;
  // The row of response i: the response, with the frame in force while a
  // run follows its pattern.
  void ShowResponse(std::size_t index);
  void ShowAll();
  void OnSetupChanged();
  void OnWakeup();
  void OnCellActivated(int row, unsigned column);
  void EditError(int row);
  void EditStoppedData(int row, unsigned column);
  void EditRunningData(int row);
  // What the editors hand back; true closes the editor.
  bool StoreError(int row, const QString& name);
  bool StoreStoppedByte(int row, unsigned column, const QString& text);
  bool StoreRunningBytes(int row, const QString& text);

  const ShellServices services_;
  CSMonitListCtrl* list_ = nullptr;
  QLineEdit* masterId_ = nullptr;
  QPushButton* wakeup_ = nullptr;
  QTimer followTimer_;
};

}  // namespace orvane::ui
