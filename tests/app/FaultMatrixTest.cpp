// Every run state of the program against every fault the virtual analyzer
// (and the disk) can produce. For each pair that applies: the messages the
// user sees, whether the run and the program go on, that nothing hangs
// (bounded virtual time and a real-time watchdog), that every record read
// before the fault is still in the monitor buffer and in the live log, that
// the log ends with a whole line, and that a configuration file holds either
// its old or its new bytes. Pairs that do not apply say why in the table.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <optional>
#include <regex>
#include <set>
#include <thread>

#include "analyzer/AnalyzerIdentity.h"
#include "analyzer/FirmwareDownload.h"
#include "analyzer/FirmwareUpdateController.h"
#include "app/ConfigurationCommands.h"
#include "app/ConfigurationFile.h"
#include "app/ModeCommands.h"
#include "app/RunControl.h"
#include "emulator/AnalyzerProfile.h"
#include "tests/app/FaultMatrix.h"
#include "tests/app/RunControlTestSupport.h"
#include "tests/simulation/SimulationTestSupport.h"

namespace orvane::app {
namespace {

using std::chrono::milliseconds;
using testing::AppRig;
using testing::Case;
using testing::Effect;
using ::testing::ElementsAreArray;
using testing::Fault;
using testing::FaultMatrix;
using testing::kFaultCount;
using testing::kRunStateCount;
using testing::PairName;
using testing::RunOutcome;
using testing::RunState;

const std::string kUpdateDone = "Downloading is almost complete.";
const std::string kDownloadError = "Download error.";

std::vector<Case> ApplicableCases() {
  std::vector<Case> cases = FaultMatrix();
  std::erase_if(cases, [](const Case& c) { return c.notApplicable != nullptr; });
  return cases;
}

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
  return PairName(info.param.state, info.param.fault);
}

TEST(FaultMatrixTable, NamesEveryPairOnceAndGivesEveryOmissionAReason) {
  std::set<std::pair<int, int>> pairs;
  for (const Case& c : FaultMatrix()) {
    EXPECT_TRUE(pairs.emplace(static_cast<int>(c.state), static_cast<int>(c.fault)).second)
        << PairName(c.state, c.fault);
    if (c.notApplicable != nullptr) {
      EXPECT_STRNE(c.notApplicable, "");
    }
  }
  EXPECT_EQ(pairs.size(), static_cast<std::size_t>(kRunStateCount * kFaultCount));
}

// Ends the test program when a case has not finished after a minute of real
// time: a hang must fail, not stall the suite.
class Watchdog {
 public:
  explicit Watchdog(std::string name) : name_(std::move(name)), thread_([this] { Watch(); }) {}
  ~Watchdog() {
    {
      const std::lock_guard lock(mutex_);
      done_ = true;
    }
    finished_.notify_one();
    thread_.join();
  }

 private:
  void Watch() {
    std::unique_lock lock(mutex_);
    if (finished_.wait_for(lock, std::chrono::seconds(60), [this] { return done_; })) return;
    std::fprintf(stderr, "FaultMatrixTest: %s hangs\n", name_.c_str());
    std::_Exit(1);
  }

  std::string name_;
  std::mutex mutex_;
  std::condition_variable finished_;
  bool done_ = false;
  std::thread thread_;
};

// A file size limit stands in for a full disk: writes beyond it fail with
// EFBIG (SIGXFSZ is ignored) until the limit is lifted again.
class DiskLimit {
 public:
  DiskLimit() {
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &original_);
  }
  ~DiskLimit() { Lift(); }
  void FullAt(std::uintmax_t bytes) {
    rlimit limit = original_;
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  }
  void Lift() { setrlimit(RLIMIT_FSIZE, &original_); }

 private:
  rlimit original_{};
};

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream input(path, std::ios::binary);
  return std::string{std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>()};
}

std::vector<monitor::MonitorRecord> RingRecords(const monitor::MonitorRing& ring) {
  const monitor::RingSnapshot snapshot = ring.Snapshot();
  std::vector<monitor::MonitorRecord> records;
  for (std::uint32_t position = 0; position < snapshot.Count(); ++position) {
    records.push_back(ring.Records()[snapshot.IndexOf(position)]);
  }
  return records;
}

// The log text the records make, header included.
std::string LogText(const std::vector<monitor::MonitorRecord>& records,
                    const monitor::LogFormat& format) {
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* file = open_memstream(&buffer, &size);
  monitor::WriteLogHeader(file);
  monitor::LogSequenceWriter(format).Write(file, records);
  std::fclose(file);
  std::string text(buffer, size);
  std::free(buffer);
  return text;
}

bool SameRecord(const monitor::MonitorRecord& a, const monitor::MonitorRecord& b) {
  return std::ranges::equal(a.Bytes(), b.Bytes());
}

class FaultMatrixTest : public ::testing::TestWithParam<Case> {
 protected:
  FaultMatrixTest() : watchdog_(CaseName({GetParam(), 0})) {}

  Configuration& configuration() { return *rig_.configuration; }
  RunControl& run() { return rig_.run(); }
  bool Running() const { return rig_.state.Monitoring(); }

  // Virtual time for the timers of the main frame: the 200 ms run timer, the
  // 1 s device check and idle processing. While the acquisition thread reads
  // the analyzer it moves the clock; otherwise the test does. Bounded, so a
  // clock that stands still fails the test.
  void Drive(milliseconds duration) {
    const milliseconds end = rig_.link.Elapsed() + duration;
    for (int step = 0; rig_.link.Elapsed() < end; ++step) {
      ASSERT_LT(step, 100000) << "virtual time stands still";
      if (run().acquisition().Running()) {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
      } else {
        rig_.link.clock().Advance(milliseconds(10));
      }
      const milliseconds now = rig_.link.Elapsed();
      if (now >= nextRunTimer_) {
        run().OnRunTimer();
        nextRunTimer_ = now + kRunTimerPeriod;
      }
      if (now >= nextDeviceCheck_ && GetParam().state != RunState::kFirmwareUpdate) {
        run().OnDeviceChange();
        nextDeviceCheck_ = now + milliseconds(1000);
      }
      run().OnIdle(now);
    }
  }

  // Stop and the drain, as the user's Stop and the run timer do it.
  void StopAndDrain() {
    run().Stop();
    for (int tick = 0; tick < 40 && (Running() || run().StopRequested()); ++tick) {
      Drive(kRunTimerPeriod);
    }
    ASSERT_FALSE(Running()) << "the drain does not end";
  }

  void WaitForAcquisitionEnd() {
    ASSERT_TRUE(AppRig::WaitUntil([&] { return !run().acquisition().Running(); }));
  }

  void StartRun(std::int32_t mode) {
    configuration().Options.LoggingEnabled = 1;
    rig_.state.LogPath = (rig_.folder / "run.log").string();
    if (mode == kModeBaudrate) {
      ASSERT_TRUE(ChangeToBaudrateMeasurement(rig_.context()));
    } else if (mode != kModeNone) {
      ASSERT_TRUE(ChangeMode(rig_.context(), mode));
    }
    ASSERT_TRUE(run().Start());
    logging_ = true;
    Drive(milliseconds(400));
  }

  void EnterState() {
    switch (GetParam().state) {
      case RunState::kIdle:
      case RunState::kConfigurationSave:
        break;
      case RunState::kMonitorLogging:
        StartRun(kModeNone);
        break;
      case RunState::kMasterPattern: {
        const std::filesystem::path rows = rig_.folder / "rows.ptn";
        std::ofstream(rows) << "Tx,02,11,11\nTx,02,22,22\nTx,02,33,33\n";
        simulation::MasterSchedule& schedule = configuration().Schedules[0];
        schedule.enable = 1;
        schedule.repeat = 1;
        schedule.slots[0] = simulation::testing::EnabledSlot(0x01, 10);
        schedule.slots[1] = simulation::testing::EnabledSlot(0x02, 10);
        simulation::testing::UsePattern(schedule.slots[1], rows, simulation::kTriggerTimer, 100,
                                        true);
        configuration().MasterRun.ScheduleModeOn = 1;
        StartRun(kModeMaster);
        break;
      }
      case RunState::kSlave: {
        simulation::SimSlot& response = configuration().SlaveResponses[0];
        response.enable = 1;
        response.identifier = 0x11;
        StartRun(kModeSlave);
        break;
      }
      case RunState::kBaudMeasurement:
        StartRun(kModeBaudrate);
        break;
      case RunState::kFirmwareUpdate:
        download_ = std::make_unique<analyzer::FirmwareDownload>(
            rig_.context().analyzer, rig_.sink,
            analyzer::FirmwareDownloadTiming{.cancelWait = milliseconds(0)});
        update_ = std::make_unique<analyzer::FirmwareUpdateController>(
            *download_, identity_, ORVANE_BINARY_DIR "/bin", rig_.sink);
        // Both erases come first: an erase fault must be there before OK.
        if (GetParam().fault == Fault::kFlashEraseFails) return;
        update_->OnOk();
        ASSERT_TRUE(AppRig::WaitUntil([&] { return download_->Progress() >= 8; }));
        break;
      case RunState::kStopDraining:
        StartRun(kModeNone);
        run().Stop();
        ASSERT_TRUE(run().StopRequested());
        break;
    }
  }

  void InjectFault() {
    emulator::VirtualAnalyzer& unit = rig_.link.analyzer();
    switch (GetParam().fault) {
      case Fault::kUnplug:
        unit.Unplug();
        break;
      case Fault::kReplug:
        unit.Unplug();
        unit.Replug();
        break;
      case Fault::kStalledReply:
        unit.StallNextReply();
        break;
      case Fault::kGarbledReply:
        unit.GarbleNextReply();
        break;
      case Fault::kBlockOf26:
        unit.AnnounceOversizedNextBlock(26);
        break;
      case Fault::kBlockOf150:
        unit.AnnounceOversizedNextBlock(150);
        break;
      case Fault::kFlashEraseFails:
        unit.SetFlashEraseFails(true);
        break;
      case Fault::kFlashWriteFails:
        unit.SetFlashWriteFails(true);
        break;
      case Fault::kBusBaudMismatch:
        unit.SetBusBaud(19200);
        break;
      case Fault::kLogDiskFull:
        disk_.FullAt(std::filesystem::file_size(rig_.folder / "run.log") + 64);
        break;
      case Fault::kConfigurationDiskFull:
        disk_.FullAt(100000);
        break;
    }
  }

  // What the user does next in the state, after the fault.
  void FollowUp() {
    switch (GetParam().state) {
      case RunState::kIdle:
        Drive(milliseconds(1200));
        if (rig_.state.ShutdownState != kShutdownNone) return;
        if (!run().Start()) {
          runOutcome_ = RunOutcome::kNotStarted;
          return;
        }
        Drive(milliseconds(500));
        runOutcome_ = Running() ? RunOutcome::kGoesOn : RunOutcome::kEnds;
        afterFault_ = RingRecords(rig_.monitor->MonitorBuffer);
        if (Running()) StopAndDrain();
        return;
      case RunState::kMonitorLogging:
      case RunState::kMasterPattern:
      case RunState::kSlave:
      case RunState::kBaudMeasurement:
        if (GetParam().fault == Fault::kUnplug) WaitForAcquisitionEnd();
        Drive(milliseconds(1200));
        if (GetParam().state == RunState::kBaudMeasurement) {
          std::uint16_t measured = 0;
          measuredBaud_ = rig_.context().analyzer.ReadMeasuredBaud(measured)
                              ? std::optional<std::uint16_t>(measured)
                              : std::nullopt;
        }
        // A stop the program asked for itself ends the run as well.
        runOutcome_ = Running() && !run().StopRequested() ? RunOutcome::kGoesOn : RunOutcome::kEnds;
        afterFault_ = RingRecords(rig_.monitor->MonitorBuffer);
        StopAndDrain();
        return;
      case RunState::kStopDraining:
        if (GetParam().fault == Fault::kUnplug) WaitForAcquisitionEnd();
        for (int tick = 0; tick < 40 && (Running() || run().StopRequested()); ++tick) {
          Drive(kRunTimerPeriod);
        }
        ASSERT_FALSE(Running()) << "the drain does not end";
        runOutcome_ = RunOutcome::kEnds;
        Drive(milliseconds(1200));
        return;
      case RunState::kFirmwareUpdate:
        if (!update_->Started() && !update_->Finished()) update_->OnOk();
        for (int tick = 0; tick < 2000 && !update_->Finished(); ++tick) {
          if (!AppRig::WaitUntil([&] { return download_->Progress() != lastProgress_; })) {
            rig_.link.clock().Advance(analyzer::kFirmwareUpdateTimerPeriod);
          }
          lastProgress_ = download_->Progress();
          update_->OnTimer();
        }
        ASSERT_TRUE(update_->Finished()) << "the update does not end";
        return;
      case RunState::kConfigurationSave:
        rig_.windows.chosenFile = (rig_.folder / "other.cfg").string();
        saved_ = SaveConfiguration(rig_.context());
        return;
    }
  }

  void CheckLog(const std::vector<monitor::MonitorRecord>& beforeFault) {
    disk_.Lift();
    const std::string log = ReadWhole(rig_.folder / "run.log");
    const monitor::LogFormat format = MakeAcquisitionSettings(rig_.context()).logFormat;
    const std::string expected = LogText(beforeFault, format);
    ASSERT_GE(log.size(), expected.size());
    EXPECT_EQ(log.substr(0, expected.size()), expected) << "records read before the fault";
    ASSERT_TRUE(log.ends_with("\r\n")) << "the last line is cut";
    const std::size_t lastStart = log.rfind("\r\n", log.size() - 3);
    const std::string lastLine = lastStart == std::string::npos ? log : log.substr(lastStart + 2);
    static const std::regex kLine(R"((TIME,M/S,.*|  ?-?\d{2,}:\d{2}:\d{2}\.\d{3}     ,.*)\r\n)");
    EXPECT_TRUE(std::regex_match(lastLine, kLine)) << lastLine;
  }

  // The first 8 bytes of the version area, read once the fault is gone.
  std::string VersionArea() {
    emulator::VirtualAnalyzer& unit = rig_.link.analyzer();
    unit.Replug();
    unit.SetFlashEraseFails(false);
    unit.SetFlashWriteFails(false);
    std::string bytes(8, '\0');
    EXPECT_EQ(
        rig_.tap.api().MemoryReadEx(0xD0000, 8, reinterpret_cast<std::uint8_t*>(bytes.data())), 1);
    return bytes;
  }

  void CheckEffect(const std::vector<monitor::MonitorRecord>& beforeFault) {
    switch (GetParam().effect) {
      case Effect::kNone:
        break;
      case Effect::kErrorRecords: {
        ASSERT_GT(afterFault_.size(), GetParam().state == RunState::kIdle ? 0 : beforeFault.size());
        const auto errors = std::count_if(
            afterFault_.begin() + static_cast<std::ptrdiff_t>(
                                      GetParam().state == RunState::kIdle ? 0 : beforeFault.size()),
            afterFault_.end(), [](const monitor::MonitorRecord& r) { return r.IsErrorEvent(); });
        EXPECT_GT(errors, 0);
        break;
      }
      case Effect::kNothingAfterReplug: {
        // Records the unit had buffered may come with the block in flight.
        EXPECT_LE(afterFault_.size(), beforeFault.size() + 25);
        break;
      }
      case Effect::kMeasured19200:
        EXPECT_EQ(measuredBaud_, std::optional<std::uint16_t>(19200));
        break;
      case Effect::kMeasurementFails:
        EXPECT_EQ(measuredBaud_, std::nullopt);
        break;
      case Effect::kUpdateNotComplete:
        EXPECT_EQ(update_->Text(), "Downloading is not complete.");
        // The next start-up offers the update again.
        EXPECT_EQ(VersionArea(), std::string(8, '\xFF'));
        break;
      case Effect::kUpdateComplete:
        EXPECT_EQ(update_->Text(), kUpdateDone);
        EXPECT_EQ(VersionArea(), analyzer::kRequiredFirmwareVersion);
        break;
      case Effect::kUpdateCompleteOrNotComplete:
        if (update_->Text() == kUpdateDone) {
          EXPECT_EQ(VersionArea(), analyzer::kRequiredFirmwareVersion);
        } else {
          EXPECT_EQ(update_->Text(), "Downloading is not complete.");
          EXPECT_EQ(VersionArea(), std::string(8, '\xFF'));
        }
        break;
      case Effect::kUpdateRefused:
        EXPECT_EQ(update_->Text(), "Downloading is not complete.");
        EXPECT_EQ(VersionArea(), std::string(emulator::kCurrentFirmwareVersion));
        break;
    }
  }

  AppRig rig_;
  DiskLimit disk_;
  Watchdog watchdog_;
  analyzer::AnalyzerIdentity identity_;
  std::unique_ptr<analyzer::FirmwareDownload> download_;
  std::unique_ptr<analyzer::FirmwareUpdateController> update_;
  std::int32_t lastProgress_ = 0;
  milliseconds nextRunTimer_{0};
  milliseconds nextDeviceCheck_{1000};
  bool logging_ = false;
  RunOutcome runOutcome_ = RunOutcome::kNone;
  std::vector<monitor::MonitorRecord> afterFault_;
  std::optional<std::uint16_t> measuredBaud_;
  bool saved_ = false;
};

TEST_P(FaultMatrixTest, GivesItsOutcomeAndLosesNothingReadBeforeTheFault) {
  const Case& expected = GetParam();
  std::string oldConfiguration;
  std::string newConfiguration;
  const std::filesystem::path project = rig_.folder / "project.cfg";
  if (expected.state == RunState::kConfigurationSave) {
    ASSERT_TRUE(WriteConfiguration(project, configuration()).ok);
    oldConfiguration = ReadWhole(project);
    configuration().Settings.Options.SortOrder = 1;
    ASSERT_TRUE(WriteConfiguration(rig_.folder / "expected.cfg", configuration()).ok);
    newConfiguration = ReadWhole(rig_.folder / "expected.cfg");
    ASSERT_NE(oldConfiguration, newConfiguration);
    rig_.state.ConfigPath = project.string();
  }

  ASSERT_NO_FATAL_FAILURE(EnterState());
  const std::vector<monitor::MonitorRecord> beforeFault = RingRecords(rig_.monitor->MonitorBuffer);
  // The measurement mode monitors nothing.
  if (logging_ && expected.state != RunState::kBaudMeasurement) {
    EXPECT_FALSE(beforeFault.empty());
  }
  InjectFault();
  ASSERT_NO_FATAL_FAILURE(FollowUp());
  // A stopped thread closes its log within one poll.
  WaitForAcquisitionEnd();
  disk_.Lift();

  std::vector<std::string> messages = expected.messages;
  if (expected.effect == Effect::kUpdateCompleteOrNotComplete && update_->Text() != kUpdateDone) {
    messages = {kDownloadError};
  }
  EXPECT_THAT(rig_.sink.Texts(), ElementsAreArray(messages));
  EXPECT_EQ(runOutcome_, expected.run);
  const bool programEnds = rig_.state.ShutdownState == kShutdownForced;
  EXPECT_EQ(programEnds, expected.programEnds);
  EXPECT_EQ(std::ranges::count(rig_.windows.events, "exit"), programEnds ? 1 : 0);
  EXPECT_FALSE(Running());

  // Every record read before the fault is still in the monitor buffer.
  const std::vector<monitor::MonitorRecord> now = RingRecords(rig_.monitor->MonitorBuffer);
  ASSERT_GE(now.size(), beforeFault.size());
  EXPECT_TRUE(std::equal(beforeFault.begin(), beforeFault.end(), now.begin(), SameRecord));
  if (logging_) CheckLog(beforeFault);
  CheckEffect(beforeFault);

  if (expected.state == RunState::kConfigurationSave) {
    // The file holds the old bytes or the new ones, never a mixture.
    EXPECT_FALSE(saved_);
    EXPECT_EQ(ReadWhole(project), saved_ ? newConfiguration : oldConfiguration);
    EXPECT_FALSE(std::filesystem::exists(rig_.folder / "other.cfg"));
    // No temporary file is left beside the targets.
    for (const auto& entry : std::filesystem::directory_iterator(rig_.folder.path())) {
      EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << entry.path();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Pairs, FaultMatrixTest, ::testing::ValuesIn(ApplicableCases()), CaseName);

}  // namespace
}  // namespace orvane::app
