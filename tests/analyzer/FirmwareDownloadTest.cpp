#include "analyzer/FirmwareDownload.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <future>
#include <string>
#include <thread>

#include "analyzer/FirmwareUpdateController.h"
#include "tests/analyzer/LinkTap.h"
#include "tests/analyzer/ScratchFolder.h"
#include "tests/support/StaticLinkApi.h"
#include "tests/support/VirtualLinkRig.h"

namespace orvane::analyzer {
namespace {

using std::chrono::milliseconds;
using test::LinkTap;
using test::RecordingSink;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::filesystem::path kShippedImage = ORVANE_BINARY_DIR "/bin/vxlfrm.dat";

class FirmwareDownloadTest : public ::testing::Test {
 protected:
  FirmwareDownloadTest() { EXPECT_EQ(link_.InitUSB(), 1); }

  // Runs a whole download of `imageFile` on the tap and returns its progress.
  std::int32_t Download(const std::filesystem::path& imageFile) {
    FirmwareDownload download(map_, sink_, {.cancelWait = milliseconds(0)});
    download.Start(imageFile, "Ver.3.11");
    download.Join();
    return download.Progress();
  }

  std::string Flash(std::uint32_t address, std::uint32_t length) {
    std::string bytes(length, '\0');
    for (std::uint32_t done = 0; done < length; done += 256) {
      const std::uint32_t chunk = std::min<std::uint32_t>(256, length - done);
      EXPECT_EQ(link_.MemoryReadEx(address + done, chunk,
                                   reinterpret_cast<std::uint8_t*>(bytes.data() + done)),
                1);
    }
    return bytes;
  }
  static bool AllErased(const std::string& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == '\xFF'; });
  }

  orvane::testing::VirtualLinkRig rig_;
  const LinkApi link_ = orvane::testing::StaticLinkApi();
  LinkTap tap_{link_};
  RegisterMap map_{tap_.api(), test::SleepOn(rig_.clock())};
  RecordingSink sink_;
  test::ScratchFolder folder_;
};

TEST_F(FirmwareDownloadTest, WritesTheImageBlockByBlockAndThenTheVersion) {
  const std::int64_t start = rig_.Elapsed().count();
  EXPECT_EQ(Download(kShippedImage), kDownloadFinished);
  EXPECT_GE(rig_.Elapsed().count() - start, 256 * 5);  // a 5 ms pause after every block
  const std::string image = Flash(0xE0000, 0x10000);
  EXPECT_EQ(image.substr(0x60, 9), "Ver.3.11\xFF");
  EXPECT_EQ(image[0x01], 0x07);
  EXPECT_EQ(static_cast<std::uint8_t>(image[0xFFFF]), static_cast<std::uint8_t>(0xFFFF * 7 + 0xFF));
  const std::string version = Flash(0xD0000, 256);
  EXPECT_EQ(version.substr(0, 8), "Ver.3.11");
  EXPECT_TRUE(AllErased(version.substr(8)));
  EXPECT_THAT(sink_.Boxes(), IsEmpty());
}

TEST_F(FirmwareDownloadTest, FileWithoutDataRecordsWritesAnErasedImageAndTheVersion) {
  std::ofstream(folder_ / "vxlfrm.dat")
      << "S00600004844521B\nS1130000285F245F2212226A000424290008237C2A\n"
         "S9030000FC\n";
  EXPECT_EQ(Download(folder_ / "vxlfrm.dat"), kDownloadFinished);
  EXPECT_TRUE(AllErased(Flash(0xE0000, 0x10000)));
  EXPECT_EQ(Flash(0xD0000, 9), "Ver.3.11\xFF");
}

TEST_F(FirmwareDownloadTest, MissingFileLeavesTheVersionAreaErasedAndTheImageAsItWas) {
  EXPECT_EQ(Download(folder_ / "missing.dat"), kDownloadFailed);
  EXPECT_TRUE(AllErased(Flash(0xD0000, 16)));
  EXPECT_EQ(Flash(0xE0060, 8), "Ver.3.11");
  EXPECT_THAT(sink_.Boxes(), IsEmpty());
}

TEST_F(FirmwareDownloadTest, VersionAreaEraseFailureChangesNothing) {
  tap_.FailFlashErase(0xD0000);
  EXPECT_EQ(Download(kShippedImage), kDownloadFailed);
  EXPECT_EQ(Flash(0xD0000, 8), "Ver.3.11");
  EXPECT_THAT(sink_.Boxes(), IsEmpty());
}

TEST_F(FirmwareDownloadTest, ImageEraseFailureAsksToResetTheHardware) {
  tap_.FailFlashErase(0xE0000);
  EXPECT_EQ(Download(kShippedImage), kDownloadFailed);
  ASSERT_EQ(sink_.Boxes().size(), 1u);
  EXPECT_EQ(sink_.Boxes()[0].caption, "Error");
  EXPECT_EQ(sink_.Boxes()[0].text, "Please reset H/W, and restart this application.");
  EXPECT_TRUE(AllErased(Flash(0xD0000, 16)));
}

TEST_F(FirmwareDownloadTest, FailedVersionWriteIsNeverReportedAsFinished) {
  tap_.FailFlashWrite(0xD0000);
  EXPECT_EQ(Download(kShippedImage), kDownloadFailed);
  EXPECT_TRUE(AllErased(Flash(0xD0000, 16)));
}

TEST_F(FirmwareDownloadTest, CancelStopsBetweenBlocks) {
  int pauses = 0;
  FirmwareDownload* running = nullptr;
  const RegisterMap map(tap_.api(), [&](milliseconds) {
    if (++pauses == 10) running->Cancel();
  });
  FirmwareDownload download(map, sink_, {.cancelWait = milliseconds(0)});
  running = &download;
  download.Start(kShippedImage, "Ver.3.11");
  download.Join();

  EXPECT_EQ(download.Progress(), kDownloadFailed);
  EXPECT_EQ(pauses, 10);
  const std::string image = Flash(0xE0000, 11 * 256);
  EXPECT_FALSE(AllErased(image.substr(9 * 256, 256)));
  EXPECT_TRUE(AllErased(image.substr(10 * 256, 256)));
  EXPECT_TRUE(AllErased(Flash(0xD0000, 16)));
}

TEST_F(FirmwareDownloadTest, ACancelBeforeStartDoesNotStopTheDownload) {
  FirmwareDownload download(map_, sink_, {.cancelWait = milliseconds(0)});
  download.Cancel();  // e.g. pressed just after an earlier download had ended
  download.Start(kShippedImage, "Ver.3.11");
  download.Join();
  EXPECT_EQ(download.Progress(), kDownloadFinished);
}

TEST_F(FirmwareDownloadTest, DestroyingARunningDownloadCancelsIt) {
  std::promise<void> paused;
  std::promise<void> resume;
  std::shared_future<void> resumed = resume.get_future().share();
  bool first = true;
  const RegisterMap map(tap_.api(), [&](milliseconds) {
    if (std::exchange(first, false)) {
      paused.set_value();
      resumed.wait();
    }
  });
  std::thread releaser;
  {
    FirmwareDownload download(map, sink_, {.cancelWait = milliseconds(0)});
    download.Start(kShippedImage, "Ver.3.11");
    paused.get_future().wait();  // block 0 is written
    // The worker may go on only once the destructor below has cancelled it.
    releaser = std::thread([&] {
      std::this_thread::sleep_for(milliseconds(20));
      resume.set_value();
    });
  }
  releaser.join();
  EXPECT_FALSE(AllErased(Flash(0xE0000, 256)));
  EXPECT_TRUE(AllErased(Flash(0xE0100, 256)));
  EXPECT_TRUE(AllErased(Flash(0xD0000, 16)));
}

// The dialog's rules, driven as CDownloadDlg drives them.
class FirmwareUpdateControllerTest : public FirmwareDownloadTest {
 protected:
  AnalyzerIdentity identity_;
};

TEST_F(FirmwareUpdateControllerTest, CompletedDownloadClosesWithOk) {
  FirmwareDownload download(map_, sink_, {.cancelWait = milliseconds(0)});
  FirmwareUpdateController dialog(download, identity_, kShippedImage.parent_path(), sink_);
  EXPECT_EQ(dialog.OnOk(), std::nullopt);
  EXPECT_EQ(dialog.Text(), "Now downloading...");
  EXPECT_TRUE(dialog.Started());
  download.Join();
  dialog.OnTimer();
  EXPECT_EQ(dialog.ProgressValue(), 256);
  EXPECT_EQ(dialog.Text(), "Downloading is almost complete.");
  EXPECT_EQ(dialog.OnOk(), FirmwareUpdateResult::kOk);
  EXPECT_THAT(sink_.Boxes(), IsEmpty());
}

TEST_F(FirmwareUpdateControllerTest, FailedDownloadShowsDownloadError) {
  tap_.FailFlashErase(0xD0000);
  FirmwareDownload download(map_, sink_, {.cancelWait = milliseconds(0)});
  FirmwareUpdateController dialog(download, identity_, kShippedImage.parent_path(), sink_);
  dialog.OnOk();
  download.Join();
  dialog.OnTimer();
  EXPECT_EQ(dialog.Text(), "Downloading is not complete.");
  EXPECT_TRUE(dialog.Finished());
  EXPECT_THAT(sink_.Texts(), ElementsAre("Download error."));
  dialog.OnTimer();  // the message comes once
  EXPECT_EQ(sink_.Boxes().size(), 1u);
  EXPECT_EQ(dialog.OnOk(), FirmwareUpdateResult::kOk);
}

TEST_F(FirmwareUpdateControllerTest, CancelWhileDownloadingClosesWithCancel) {
  std::promise<void> paused;
  std::promise<void> resume;
  std::shared_future<void> resumed = resume.get_future().share();
  bool first = true;
  const RegisterMap map(tap_.api(), [&](milliseconds) {
    if (std::exchange(first, false)) {
      paused.set_value();
      resumed.wait();
    }
  });
  FirmwareDownload download(map, sink_, {.cancelWait = milliseconds(0)});
  FirmwareUpdateController dialog(download, identity_, kShippedImage.parent_path(), sink_);

  dialog.OnOk();
  paused.get_future().wait();              // block 0 is written
  EXPECT_EQ(dialog.OnOk(), std::nullopt);  // OK while running does nothing
  EXPECT_EQ(dialog.OnCancel(), std::nullopt);
  EXPECT_EQ(dialog.Text(), "Downloading is canceled.");
  resume.set_value();
  download.Join();
  EXPECT_EQ(download.Progress(), kDownloadFailed);
  dialog.OnTimer();
  EXPECT_EQ(dialog.Text(), "Downloading is canceled.");
  EXPECT_THAT(sink_.Boxes(), IsEmpty());
  EXPECT_EQ(dialog.OnOk(), FirmwareUpdateResult::kCancel);
}

TEST_F(FirmwareUpdateControllerTest, CancelOnTheQuestionErasesNothing) {
  FirmwareDownload download(map_, sink_);
  FirmwareUpdateController dialog(download, identity_, kShippedImage.parent_path(), sink_);
  EXPECT_EQ(dialog.OnCancel(), FirmwareUpdateResult::kCancel);
  EXPECT_EQ(Flash(0xD0000, 8), "Ver.3.11");
}

}  // namespace
}  // namespace orvane::analyzer
