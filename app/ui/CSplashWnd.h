// The splash window shown while the analyzer is opened: our backdrop with
// the analyzer's boot program and firmware versions and serial number. It
// hides after 2.5 s, or at the first key press or mouse button anywhere in
// the program (which it swallows); hiding runs the step arranged to follow.
#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>

#include "analyzer/AnalyzerIdentity.h"

namespace orvane::ui {

inline constexpr int kSplashTimeoutMs = 2500;

class CSplashWnd final : public QWidget {
 public:
  CSplashWnd(const analyzer::AnalyzerIdentity& identity, QString languageCode);
  ~CSplashWnd() override;

  // Runs once the splash hides (at once when it has hidden already).
  void OnHidden(std::function<void()> step);
  // Hides the splash now.
  void Dismiss();
  bool Showing() const { return showing_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const analyzer::AnalyzerIdentity& identity_;
  QString languageCode_;
  QTimer timer_;
  bool showing_ = true;
  std::function<void()> afterHide_;
};

}  // namespace orvane::ui
