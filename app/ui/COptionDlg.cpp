#include "app/ui/COptionDlg.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/ui/OkCancelRow.h"
#include "app/ui/OptionFramePage.h"
#include "app/ui/OptionPages.h"
#include "monitor/MessageCatalogue.h"
#include "settings/OptionRules.h"
#include "settings/SettingsRecord.h"

namespace orvane::ui {

COptionDlg::COptionDlg(const app::AppContext& context, QWidget* parent)
    : COptionDlg(context, context.description.Loaded(), context.configuration.Settings.LinRevision,
                 parent) {}

COptionDlg::COptionDlg(const app::AppContext& context, bool descriptionLoaded,
                       std::uint32_t linRevision, QWidget* parent)
    : QDialog(parent),
      context_(context),
      options_(context.configuration.Options),
      ext_(context.configuration.Settings.Options),
      linRevision_(linRevision) {
  setObjectName("COptionDlg");
  setWindowTitle("Option Setup");
  const bool lin20 = linRevision_ == settings::kLin20;

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("tabs");
  tabs_->setUsesScrollButtons(false);  // every tab title in sight
  baudPage_ = new OptionBaudPage(tabs_);
  framePage_ = new OptionFramePage(lin20 && ext_.BreakSelect != 0, tabs_);
  loggingPage_ =
      new OptionLoggingPage(ext_, context.state.LogPath, context.windows, context.messages, tabs_);
  maskPage_ = new OptionMaskPage(options_, tabs_);
  patternPage_ = new OptionPatternPage(options_, tabs_);
  if (lin20) wakeupPage_ = new OptionWakeupPage(ext_, tabs_);
  eachModePage_ = new OptionEachModePage(ext_, descriptionLoaded, tabs_);
  tabs_->addTab(baudPage_, "Baudrate");
  tabs_->addTab(framePage_, "Frame Parameter");
  tabs_->addTab(loggingPage_, "Logging");
  tabs_->addTab(maskPage_, "Mask");
  tabs_->addTab(patternPage_, "Pattern");
  if (wakeupPage_ != nullptr) tabs_->addTab(wakeupPage_, "Wakeup");
  tabs_->addTab(eachModePage_, "Each Mode");

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addLayout(OkCancelRow(*this));

  Fill();
  connect(tabs_, &QTabWidget::currentChanged, this, &COptionDlg::OnTabChanged);

  // Centred on the screen: half the screen less half the dialog.
  adjustSize();
  const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
  if (screen != nullptr) move(screen->geometry().center() - rect().center());
}

// Hidden while the copy still exists: the focus leaving a field as the
// window goes ends that field's editing, which writes to the copy.
COptionDlg::~COptionDlg() {
  hide();
}

void COptionDlg::Fill() {
  const app::AppState& state = context_.state;
  baudPage_->Fill(options_.BaudRateCode);
  loggingPage_->Fill(options_.LoggingEnabled == 1);
  framePage_->Fill(options_.FrameTiming);
  maskPage_->Fill(settings::IdentifierFieldModeFromText(state.IdentifierFieldMode),
                  state.DataRadix);
  patternPage_->Fill();
  if (wakeupPage_ != nullptr) wakeupPage_->Fill();
  eachModePage_->Fill();
}

void COptionDlg::ShowPage(QWidget* page) {
  switchingTabs_ = true;
  tabs_->setCurrentWidget(page);
  switchingTabs_ = false;
  currentTab_ = tabs_->currentIndex();
}

void COptionDlg::OnTabChanged(int index) {
  if (switchingTabs_) return;
  QWidget* left = tabs_->widget(currentTab_);
  if (left != nullptr && !CanLeave(left)) return;  // back on the page left
  currentTab_ = index;
}

bool COptionDlg::CanLeave(QWidget* page) {
  if (page == framePage_) return CheckSpaces();
  if (page == loggingPage_) {
    loggingPage_->CommitNumber();
    return !loggingPage_->LoggingEnabled() || CheckLogFile(loggingPage_->Candidate());
  }
  if (page == wakeupPage_) wakeupPage_->Commit();
  return true;
}

bool COptionDlg::CheckSpaces() {
  const std::optional<OptionFramePage::Space> bad = framePage_->FirstBadSpace();
  if (!bad) return true;
  ShowPage(framePage_);
  monitor::ShowErrorMessage(context_.messages, settings::kSpaceRangeMessageCode);
  framePage_->FocusSpace(*bad);
  return false;
}

bool COptionDlg::CheckLogFile(const std::string& candidate) {
  const std::optional<monitor::MessageBoxRequest> error = settings::CheckLogFileUsable(candidate);
  if (!error) return true;
  ShowPage(loggingPage_);
  context_.messages.Show(*error);
  loggingPage_->FocusName();
  return false;
}

void COptionDlg::accept() {
  app::AppState& state = context_.state;

  // 1. Read the fields; the candidate log file name as a run would form it.
  loggingPage_->CommitNumber();
  if (wakeupPage_ != nullptr) wakeupPage_->Commit();
  const std::string candidate = loggingPage_->Candidate();

  // 2. Logging on: the candidate must take the log; LogPath keeps the name
  // as typed. Logging off: LogPath becomes the candidate.
  if (loggingPage_->LoggingEnabled()) {
    if (!CheckLogFile(candidate)) return;
    state.LogPath = loggingPage_->NameText();
  } else {
    state.LogPath = candidate;
  }

  // 3. The mask entries.
  const settings::IdentifierFieldMode mode =
      settings::IdentifierFieldModeFromText(state.IdentifierFieldMode);
  const OptionMaskPage::Entries mask = maskPage_->Read(mode);
  if (mask.rejected) {
    ShowPage(maskPage_);
    context_.messages.Show(settings::kMaskIdRangeMessage);
    maskPage_->FocusEntry(*mask.rejected);
    return;
  }

  // 4. The spaces.
  if (!CheckSpaces()) return;

  // 5. Baud rate, logging and mask.
  if (const std::optional<std::uint8_t> code = baudPage_->Checked()) options_.BaudRateCode = *code;
  options_.LoggingEnabled = loggingPage_->LoggingEnabled() ? 1 : 0;
  options_.MaskEnabled = maskPage_->MaskEnabled() ? 1 : 0;
  options_.MaskIds = mask.ids;

  // 6. A frame longer than LIN allows is only a warning.
  const settings::FrameTimingRecord timing = framePage_->WithSpaces(options_.FrameTiming);
  if (const auto warning = settings::CheckFrameLength(timing, framePage_->DataLength())) {
    context_.messages.Show(*warning);
  }

  // 7. Spaces, pattern modes and fill bytes.
  options_.FrameTiming.SpaceB = timing.SpaceB;
  options_.FrameTiming.ByteSpace = timing.ByteSpace;
  options_.FrameTiming.SpaceA = timing.SpaceA;
  options_.ShortPatternMode = patternPage_->ShortPatternMode();
  options_.LongPatternMode = patternPage_->LongPatternMode();
  patternPage_->StoreFillBytes();

  // 8. The copy goes back; the monitor views learn of the new settings.
  context_.configuration.Settings.Options = ext_;
  state.ViewUpdateCode.Monitor = app::kUpdateSettings;
  context_.windows.RefreshAllViews();
  QDialog::accept();
}

}  // namespace orvane::ui
