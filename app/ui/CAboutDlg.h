// The About box: our backdrop with the analyzer's boot program and firmware
// versions and serial number, the documentation address and OK.
#pragma once

#include <QDialog>

#include "analyzer/AnalyzerIdentity.h"

namespace orvane::ui {

class CAboutDlg final : public QDialog {
 public:
  CAboutDlg(const analyzer::AnalyzerIdentity& identity, const QString& languageCode,
            QWidget* mainWindow);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace orvane::ui
