#include "analyzer/FirmwareDownload.h"

#include <fstream>
#include <memory>
#include <new>
#include <span>

#include "analyzer/SRecordReader.h"
#include "monitor/MessageCatalogue.h"

namespace orvane::analyzer {
namespace {

constexpr std::int32_t kResetHardwareMessage = 6;

}  // namespace

FirmwareDownload::FirmwareDownload(const RegisterMap& map, monitor::MessageSink& messages,
                                   FirmwareDownloadTiming timing)
    : map_(map), messages_(messages), timing_(timing) {}

FirmwareDownload::~FirmwareDownload() {
  if (worker_.joinable()) Cancel();
  Join();
}

void FirmwareDownload::Start(std::filesystem::path imageFile, std::string version) {
  Join();
  progress_.store(0, std::memory_order_release);
  // A cancel that came after the previous worker had ended must not stop this one.
  cancel_.Reset();
  worker_ = std::thread([this, imageFile = std::move(imageFile), version = std::move(version)] {
    progress_.store(Run(imageFile, version), std::memory_order_release);
  });
}

void FirmwareDownload::Join() {
  if (worker_.joinable()) worker_.join();
}

// Returns the final progress value: kDownloadFinished or kDownloadFailed.
std::int32_t FirmwareDownload::Run(const std::filesystem::path& imageFile,
                                   const std::string& version) {
  const std::unique_ptr<FirmwareImage> image(new (std::nothrow) FirmwareImage);
  if (!image) return kDownloadFailed;
  image->fill(0xFF);

  const LinkApi& link = map_.link();
  if (link.FrashErase(reg::kVersionArea) != 1) return kDownloadFailed;
  std::ifstream file(imageFile, std::ios::binary);
  if (!file) return kDownloadFailed;
  ReadSRecords(file, *image);
  file.close();
  if (link.FrashErase(reg::kImageArea) != 1) {
    monitor::ShowErrorMessage(messages_, kResetHardwareMessage);
    return kDownloadFailed;
  }

  const std::span<const std::uint8_t> bytes(*image);
  for (int block = 0; block < kFirmwareBlockCount; ++block) {
    if (cancel_.WaitFor(timing_.cancelWait)) return kDownloadFailed;
    const std::uint32_t offset = static_cast<std::uint32_t>(block) * kFlashBlockSize;
    if (!map_.FlashWriteBlock(reg::kImageArea + offset, bytes.subspan(offset, kFlashBlockSize))) {
      return kDownloadFailed;
    }
    progress_.store(block, std::memory_order_release);
    map_.Sleep(timing_.blockPause);
  }

  // The version text goes in last, so an interrupted download leaves the
  // version area erased and the update is offered again at the next start.
  // Progress reaches kDownloadFinished only once it is written, so a failed
  // version write is never reported as a finished download.
  const std::span<const std::uint8_t> versionBytes(
      reinterpret_cast<const std::uint8_t*>(version.data()), version.size());
  if (!map_.FlashWriteBlock(reg::kVersionArea, versionBytes)) return kDownloadFailed;
  return kDownloadFinished;
}

}  // namespace orvane::analyzer
