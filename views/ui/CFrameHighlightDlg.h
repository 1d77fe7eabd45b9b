// The "Special Frame Setup" dialog (command 32832): the four special
// frame conditions that colour rows of the monitor and capture windows, one
// tab each ("FrmCH1(Red)" … "FrmCH4(Purpe)"), with "OK" and "Cancel".
//
// It works on a copy of the four conditions: OK replaces them with the
// copy, Cancel leaves them as they were, byte for byte. The I/O event names
// (rising and falling edge of channels 1 to 3) label the I/O event choice;
// the identifier definition decides which data bytes' patterns can be
// edited. Messages go through the given MessageSink.
//
// Modal, used only while monitoring is stopped. Threads: the user-interface
// thread only.
#pragma once

#include <QDialog>
#include <array>
#include <span>
#include <string>

#include "monitor/MessageSink.h"
#include "settings/FrameHighlightCondition.h"
#include "settings/IdentifierDefinition.h"
#include "views/FrameHighlightEdit.h"

class QTabWidget;

namespace orvane::ui {

class FrameHighlightPage;

class CFrameHighlightDlg final : public QDialog {
  Q_OBJECT

 public:
  using Conditions = std::span<settings::FrameHighlightCondition, settings::kFrameHighlightCount>;

  CFrameHighlightDlg(Conditions conditions,
                   const std::array<std::string, views::kIoEventCount>& ioEventNames,
                   const settings::IdentifierDefinition& identifiers,
                   monitor::MessageSink& messages, QWidget* parent = nullptr);
  ~CFrameHighlightDlg() override;

  // The copy being edited.
  const settings::FrameHighlightConditions& Edited() const { return copy_; }

 public Q_SLOTS:
  void accept() override;

 private:
  Conditions conditions_;
  settings::FrameHighlightConditions copy_;
  std::array<std::string, views::kIoEventCount> ioEventNames_;
  std::array<std::uint8_t, 64> dataLengths_{};
  QTabWidget* tabs_;
  std::array<FrameHighlightPage*, settings::kFrameHighlightCount> pages_{};
};

}  // namespace orvane::ui
