// The "Description Report" window: the rules the loaded LIN description's
// relaxed load let pass, one line each, read-only, with a Close button.
#pragma once

#include <QDialog>
#include <string>

class QPlainTextEdit;

namespace orvane::ui {

class DescriptionReportDialog final : public QDialog {
 public:
  // `report` is signals::DescriptionReport's text.
  DescriptionReportDialog(const std::string& report, QWidget* parent);

  QString ReportText() const;

 private:
  QPlainTextEdit* text_;
};

}  // namespace orvane::ui
