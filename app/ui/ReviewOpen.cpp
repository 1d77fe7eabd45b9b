#include "app/ui/ReviewOpen.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <future>

#include "app/ReviewCommands.h"
#include "app/ui/QtText.h"
#include "review/ReviewFile.h"

namespace orvane::ui {
namespace {

constexpr int kProgressSteps = 1000;
constexpr int kShowAfterMs = 300;
constexpr auto kPollPeriod = std::chrono::milliseconds(20);

}  // namespace

bool OpenReviewFile(QWidget* parent, const app::AppContext& context, const std::string& path) {
  QProgressDialog dialog(QStringLiteral("Reading ") +
                             QtText(std::filesystem::path(path).filename().string()) +
                             QStringLiteral("..."),
                         QStringLiteral("Cancel"), 0, kProgressSteps, parent);
  dialog.setWindowTitle(QStringLiteral("Open Monitor Log"));
  dialog.setWindowModality(Qt::WindowModal);
  dialog.setMinimumDuration(kShowAfterMs);
  dialog.setAutoReset(false);

  std::atomic<int> step{0};
  std::atomic<bool> cancel{false};
  std::future<review::ReviewReadResult> reading =
      std::async(std::launch::async, [&path, &step, &cancel] {
        return review::ReadReviewFile(path, [&](std::uint64_t done, std::uint64_t total) {
          if (total > 0) step.store(static_cast<int>(done * kProgressSteps / total));
          return !cancel.load();
        });
      });
  while (reading.wait_for(kPollPeriod) != std::future_status::ready) {
    dialog.setValue(step.load());
    QCoreApplication::processEvents();
    if (dialog.wasCanceled()) cancel.store(true);
  }
  dialog.close();
  return app::ShowReview(context, reading.get(), path);
}

}  // namespace orvane::ui
