// The firmware update dialog end to end: the "Download" dialog over a real
// download of the built image file into a virtual analyzer whose firmware
// is erased (virtual clock, in process).
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>
#include <atomic>
#include <functional>
#include <future>
#include <thread>
#include <utility>

#include "analyzer/FirmwareDownload.h"
#include "analyzer/FirmwareUpdateController.h"
#include "analyzer/RegisterMap.h"
#include "app/ui/CDownloadDlg.h"
#include "app/ui/DialogFirmwareUpdatePrompt.h"
#include "app/ui/GuiMessageSink.h"
#include "emulator/AnalyzerProfile.h"
#include "tests/support/StaticLinkApi.h"
#include "tests/support/VirtualLinkRig.h"
#include "tests/ui/support/RecordingSink.h"

namespace orvane::ui {
namespace {

using analyzer::FirmwareUpdateResult;
using std::chrono::milliseconds;

const std::filesystem::path kProgramFolder = ORVANE_BINARY_DIR "/bin";
const analyzer::FirmwareDownloadTiming kNoCancelWait{.cancelWait = milliseconds(0)};

// Every FrashErase passes here: counted, and the image area's failing when
// the test asks for it.
std::atomic<int> flashErases{0};
std::atomic<bool> imageEraseFails{false};

std::int32_t ObservedFrashErase(std::uint32_t address) {
  ++flashErases;
  if (imageEraseFails && address == analyzer::reg::kImageArea) return 0;
  return ::FrashErase(address);
}

// Holds the download after its first block until released; releases at
// the latest when it goes, so that a failing test never leaves the worker
// waiting.
class BlockGate {
 public:
  ~BlockGate() { Release(); }

  analyzer::SleepFunction Sleep() {
    return [this](milliseconds) {
      if (std::exchange(first_, false)) {
        paused_.set_value();
        released_.wait();
      }
    };
  }
  void WaitUntilPaused() { paused_.get_future().wait(); }
  void Release() {
    if (!std::exchange(releaseSent_, true)) release_.set_value();
  }

 private:
  bool first_ = true;  // the worker's only
  bool releaseSent_ = false;
  std::promise<void> paused_;
  std::promise<void> release_;
  std::shared_future<void> released_ = release_.get_future().share();
};

// Tells when the worker waits in a message box, which the program's sink
// shows on the user-interface thread.
class WatchedSink final : public monitor::MessageSink {
 public:
  explicit WatchedSink(monitor::MessageSink& inner) : inner_(inner) {}
  bool CanShow() const override { return inner_.CanShow(); }
  monitor::MessageAnswer Show(const monitor::MessageBoxRequest& request) override {
    waiting = true;
    return inner_.Show(request);
  }
  std::atomic<bool> waiting{false};

 private:
  monitor::MessageSink& inner_;
};

QString TextOf(const CDownloadDlg& dialog) {
  return dialog.findChild<QLabel*>()->text();
}
int ProgressOf(const CDownloadDlg& dialog) {
  return dialog.findChild<QProgressBar*>()->value();
}
QPushButton* ButtonOf(const CDownloadDlg& dialog, QDialogButtonBox::StandardButton which) {
  return dialog.findChild<QDialogButtonBox*>()->button(which);
}

// Runs `script` on the Download dialog once its modal loop runs; closes a
// dialog the script left open, so that a failing test cannot hang.
void WhenShown(std::function<void(CDownloadDlg&)> script) {
  QTimer::singleShot(0, [script = std::move(script)] {
    CDownloadDlg* dialog = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* shown = qobject_cast<CDownloadDlg*>(widget); shown && shown->isVisible()) {
        dialog = shown;
      }
    }
    QVERIFY2(dialog != nullptr, "the Download dialog is not shown");
    const bool modal = QApplication::activeModalWidget() == dialog;
    script(*dialog);
    if (dialog->isVisible()) dialog->done(QDialog::Rejected);
    QVERIFY2(modal, "the Download dialog is not modal");
  });
}

}  // namespace

class FirmwareDialogTest : public QObject {
  Q_OBJECT

 private:
  std::string Flash(std::uint32_t address, std::uint32_t length) {
    std::string bytes(length, '\0');
    if (api_.MemoryReadEx(address, length, reinterpret_cast<std::uint8_t*>(bytes.data())) != 1) {
      return "<read failed>";
    }
    return bytes;
  }
  static bool Erased(const std::string& bytes) {
    return bytes.find_first_not_of('\xFF') == std::string::npos;
  }

  std::optional<orvane::testing::VirtualLinkRig> rig_;
  analyzer::LinkApi api_;
  std::optional<analyzer::RegisterMap> map_;
  testing::RecordingSink sink_;
  analyzer::AnalyzerIdentity identity_;

 private Q_SLOTS:
  void initTestCase() {
    QVERIFY2(std::filesystem::exists(kProgramFolder / analyzer::kFirmwareImageFileName),
             "the firmware image is missing: build the firmware-image target");
  }

  void init() {
    rig_.emplace(*emulator::ProfileNamed("erased-firmware"));
    api_ = orvane::testing::StaticLinkApi();
    api_.FrashErase = ObservedFrashErase;
    flashErases = 0;
    imageEraseFails = false;
    map_.emplace(api_, [clock = &rig_->clock()](milliseconds wait) { clock->SleepFor(wait); });
    QCOMPARE(api_.InitUSB(), 1);
    QVERIFY(Erased(Flash(analyzer::reg::kVersionArea, 16)));
  }

  void cleanup() {
    map_.reset();
    rig_.reset();
  }

  void okDownloadsTheImageAndClosesWithOk() {
    DialogFirmwareUpdatePrompt prompt(*map_, sink_, kProgramFolder, nullptr, kNoCancelWait);
    QString question, finalText;
    int finalProgress = -2;
    WhenShown([&](CDownloadDlg& dialog) {
      question = TextOf(dialog);
      QCOMPARE(dialog.windowTitle(), QStringLiteral("Download"));
      QCOMPARE(dialog.findChild<QProgressBar*>()->maximum(), 256);
      ButtonOf(dialog, QDialogButtonBox::Ok)->click();
      QVERIFY(QTest::qWaitFor([&] { return ProgressOf(dialog) == 256; }, 20000));
      finalText = TextOf(dialog);
      finalProgress = ProgressOf(dialog);
      ButtonOf(dialog, QDialogButtonBox::Ok)->click();
      QVERIFY(!dialog.isVisible());
    });

    QCOMPARE(prompt.RunFirmwareUpdate(identity_), FirmwareUpdateResult::kOk);
    QCOMPARE(question, QStringLiteral("Firmware Version is not correct.\n"
                                      "Would you like to download firmware(Ver.3.11)?"));
    QCOMPARE(finalProgress, 256);
    QCOMPARE(finalText, QStringLiteral("Downloading is almost complete."));
    QCOMPARE(Flash(analyzer::reg::kVersionArea, 9), std::string("Ver.3.11\xFF"));
    QCOMPARE(Flash(analyzer::reg::kImageArea + 0x60, 9), std::string("Ver.3.11\xFF"));
    QCOMPARE(flashErases.load(), 2);
    QVERIFY(sink_.Texts().empty());
  }

  void cancelOnTheQuestionClosesWithCancelAndErasesNothing() {
    DialogFirmwareUpdatePrompt prompt(*map_, sink_, kProgramFolder, nullptr, kNoCancelWait);
    bool closed = false;
    WhenShown([&](CDownloadDlg& dialog) {
      ButtonOf(dialog, QDialogButtonBox::Cancel)->click();
      closed = !dialog.isVisible();
    });
    QCOMPARE(prompt.RunFirmwareUpdate(identity_), FirmwareUpdateResult::kCancel);
    QVERIFY(closed);
    QCOMPARE(flashErases.load(), 0);
    QVERIFY(sink_.Texts().empty());
  }

  void cancelDuringTheDownloadStopsItAndClosesWithCancel() {
    BlockGate gate;
    const analyzer::RegisterMap gated(api_, gate.Sleep());
    analyzer::FirmwareDownload download(gated, sink_, kNoCancelWait);
    analyzer::FirmwareUpdateController controller(download, identity_, kProgramFolder, sink_);
    CDownloadDlg dialog(controller);
    dialog.open();

    ButtonOf(dialog, QDialogButtonBox::Ok)->click();
    QCOMPARE(TextOf(dialog), QStringLiteral("Now downloading..."));
    QVERIFY(!ButtonOf(dialog, QDialogButtonBox::Ok)->isEnabled());
    gate.WaitUntilPaused();  // block 0 is written
    ButtonOf(dialog, QDialogButtonBox::Cancel)->click();
    QCOMPARE(TextOf(dialog), QStringLiteral("Downloading is canceled."));
    QVERIFY(dialog.isVisible());
    gate.Release();
    download.Join();
    QCOMPARE(download.Progress(), analyzer::kDownloadFailed);
    dialog.OnTimer();
    QCOMPARE(TextOf(dialog), QStringLiteral("Downloading is canceled."));

    ButtonOf(dialog, QDialogButtonBox::Ok)->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.Result(), FirmwareUpdateResult::kCancel);
    QVERIFY(!Erased(Flash(analyzer::reg::kImageArea, 256)));
    QVERIFY(Erased(Flash(analyzer::reg::kImageArea + 256, 256)));
    QVERIFY(Erased(Flash(analyzer::reg::kVersionArea, 16)));
    QVERIFY(sink_.Texts().empty());
  }

  void closingTheWindowWhileDownloadingActsAsCancel() {
    BlockGate gate;
    const analyzer::RegisterMap gated(api_, gate.Sleep());
    analyzer::FirmwareDownload download(gated, sink_, kNoCancelWait);
    analyzer::FirmwareUpdateController controller(download, identity_, kProgramFolder, sink_);
    CDownloadDlg dialog(controller);
    dialog.open();

    ButtonOf(dialog, QDialogButtonBox::Ok)->click();
    gate.WaitUntilPaused();
    QVERIFY(!dialog.close());  // the title bar's close button
    QVERIFY(dialog.isVisible());
    QCOMPARE(TextOf(dialog), QStringLiteral("Downloading is canceled."));
    gate.Release();
    download.Join();
    QCOMPARE(download.Progress(), analyzer::kDownloadFailed);
    QVERIFY(Erased(Flash(analyzer::reg::kImageArea + 256, 256)));

    QTest::keyClick(&dialog, Qt::Key_Escape);  // now it closes
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.Result(), FirmwareUpdateResult::kCancel);
  }

  void failedDownloadReportsAndStillClosesWithOk() {
    imageEraseFails = true;
    DialogFirmwareUpdatePrompt prompt(*map_, sink_, kProgramFolder, nullptr, kNoCancelWait);
    QString finalText;
    WhenShown([&](CDownloadDlg& dialog) {
      ButtonOf(dialog, QDialogButtonBox::Ok)->click();
      QVERIFY(QTest::qWaitFor([&] { return sink_.Texts().size() == 2; }, 20000));
      finalText = TextOf(dialog);
      ButtonOf(dialog, QDialogButtonBox::Ok)->click();
    });
    QCOMPARE(prompt.RunFirmwareUpdate(identity_), FirmwareUpdateResult::kOk);
    QCOMPARE(finalText, QStringLiteral("Downloading is not complete."));
    QCOMPARE(sink_.Texts(),
             (std::vector<std::string>{"Please reset H/W, and restart this application.",
                                       "Download error."}));
    QVERIFY(Erased(Flash(analyzer::reg::kVersionArea, 16)));
  }

  // The worker's message box reaches the user-interface thread only through
  // its event loop; a download cancelled and closed while the worker waits
  // for that box still ends, with the box shown.
  void workerWaitingForItsMessageBoxStillEndsAfterTheDialogCloses() {
    imageEraseFails = true;
    QWidget mainWindow;
    const app::AppState state;
    std::vector<std::string> shown;
    GuiMessageSink gui(state, [&](const monitor::MessageBoxRequest& request) {
      shown.emplace_back(request.text);
      return monitor::MessageAnswer::kOk;
    });
    gui.SetMainWindow(&mainWindow);
    WatchedSink sink(gui);
    DialogFirmwareUpdatePrompt prompt(*map_, sink, kProgramFolder, &mainWindow, kNoCancelWait);
    WhenShown([&](CDownloadDlg& dialog) {
      QCOMPARE(dialog.parentWidget(), &mainWindow);
      ButtonOf(dialog, QDialogButtonBox::Ok)->click();
      // Without serving events: the box must stay queued.
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      while (!sink.waiting && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(milliseconds(1));
      }
      QVERIFY(sink.waiting);
      ButtonOf(dialog, QDialogButtonBox::Cancel)->click();
      ButtonOf(dialog, QDialogButtonBox::Ok)->click();
      QVERIFY(!dialog.isVisible());
      QVERIFY(shown.empty());  // not yet: the box waits for the event loop
    });
    QCOMPARE(prompt.RunFirmwareUpdate(identity_), FirmwareUpdateResult::kCancel);
    QCOMPARE(shown, std::vector<std::string>{"Please reset H/W, and restart this application."});
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::FirmwareDialogTest)
#include "FirmwareDialogTest.moc"
