// The Status window's form: six fields in group boxes (LIN revision, mode
// status, bus status, packet count, bus load, baud rate), refreshed once a
// second while monitoring runs. The texts come from views::StatusFields;
// this form only shows them and paints the mode status red while stopped
// and green while running.
//
// Threads: the user-interface thread. The latest block header is read
// without a lock (the acquisition thread writes it).
#pragma once

#include <QTimer>
#include <QWidget>
#include <chrono>

#include "app/AppContext.h"
#include "app/ui/ShellView.h"
#include "views/StatusFields.h"

class QLabel;

namespace orvane::ui {

class CStatusFView final : public QWidget, public ShellView, private views::StatusSource {
  Q_OBJECT

 public:
  static constexpr std::chrono::milliseconds kRefreshPeriod{1000};

  // Takes the LIN revision and the mode from the application, shows the
  // first texts and starts the 1 s timer.
  explicit CStatusFView(const app::AppContext& context, QWidget* parent = nullptr);

  // Codes 1 (settings changed), 5 (monitoring started) and 6 (stopped) of
  // the status family, after the mode has been taken again. The shell
  // resets the codes.
  void OnViewUpdate(const app::ViewUpdateCodes& codes) override;

  // The 1 s timer's work: refreshes while the acquisition runs and once
  // more after it has ended.
  void OnRefreshTimer();

 private:
  monitor::MonitorBlockHeader LatestHeader() const override;
  std::uint8_t BaudRateCode() const override;
  std::optional<std::uint16_t> ReadMeasuredBaud() const override;

  bool MeasurementMode() const;
  void ShowFields();

  app::AppContext context_;
  views::StatusFields fields_;
  QLabel* linRevision_;
  QLabel* modeStatus_;
  QLabel* busStatus_;
  QLabel* packetCount_;
  QLabel* busLoad_;
  QLabel* baudRate_;
  QTimer refreshTimer_;
};

}  // namespace orvane::ui
