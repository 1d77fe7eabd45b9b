// Only one program runs per user: the first start holds a lock file in the
// user's runtime folder and listens on a local socket; a second start finds
// the lock held, asks the first through the socket to raise its main
// window, and ends.
//
// Threads: the user-interface thread.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <functional>
#include <memory>

namespace orvane::ui {

class SingleInstance final : public QObject {
 public:
  explicit SingleInstance(const QString& name);

  // True when this is the first instance; false after a running one was
  // asked to come to the front.
  bool Acquire();
  // What the first instance does when a second one starts.
  void OnSecondStart(std::function<void()> raise) { raise_ = std::move(raise); }

 private:
  QString name_;
  std::unique_ptr<QLockFile> lock_;
  QLocalServer server_;
  std::function<void()> raise_;
};

}  // namespace orvane::ui
