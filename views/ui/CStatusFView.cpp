#include "views/ui/CStatusFView.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

namespace orvane::ui {
namespace {

const QColor kStoppedColour(255, 0, 0);
const QColor kRunningColour(0, 255, 0);

// The mode status field: drawn on red while monitoring is stopped and on
// green while it runs, as the application's flag says when it is painted.
class ModeStatusLabel final : public QLabel {
 public:
  explicit ModeStatusLabel(const app::AppState& state) : state_(state) {}

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter(this).fillRect(rect(), state_.MonitorStopped == 1 ? kStoppedColour : kRunningColour);
    QLabel::paintEvent(event);
  }

 private:
  const app::AppState& state_;
};

// Puts `field` into a group box titled `title`, followed by `unit` when
// given, and the box into the form.
QLabel* AddField(QVBoxLayout& form, const char* title, const char* name, QLabel* field,
                 const char* unit = nullptr) {
  auto* box = new QGroupBox(QString::fromLatin1(title));
  auto* row = new QHBoxLayout(box);
  field->setObjectName(QString::fromLatin1(name));
  field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  field->setAlignment(Qt::AlignCenter);
  // Wide enough for the longest texts: "Measurement" and a ten-digit count.
  const QFontMetrics metrics(field->font());
  field->setMinimumWidth(std::max(metrics.horizontalAdvance(QStringLiteral("Measurement")),
                                  metrics.horizontalAdvance(QStringLiteral("4294967295"))) +
                         4 * metrics.averageCharWidth());
  row->addWidget(field, 1);
  if (unit != nullptr) row->addWidget(new QLabel(QString::fromLatin1(unit)));
  form.addWidget(box);
  return field;
}

}  // namespace

CStatusFView::CStatusFView(const app::AppContext& context, QWidget* parent)
    : QWidget(parent),
      context_(context),
      fields_(context.configuration.Settings.LinRevision, MeasurementMode()) {
  auto* form = new QVBoxLayout(this);
  form->setSizeConstraint(QLayout::SetFixedSize);
  linRevision_ = AddField(*form, " LIN Revision ", "linRevision", new QLabel);
  modeStatus_ = AddField(*form, " Mode Status ", "modeStatus", new ModeStatusLabel(context.state));
  busStatus_ = AddField(*form, " Bus Status ", "busStatus", new QLabel);
  packetCount_ = AddField(*form, " Total Packet Num ", "packetCount", new QLabel);
  busLoad_ = AddField(*form, " Bus Load ", "busLoad", new QLabel, " [%/sec]");
  baudRate_ = AddField(*form, " Baudrate ", "baudRate", new QLabel, " [bps]");

  fields_.InitialUpdate(context.state.MonitorStopped == 1,
                        context.configuration.Options.BaudRateCode);
  ShowFields();

  connect(&refreshTimer_, &QTimer::timeout, this, &CStatusFView::OnRefreshTimer);
  refreshTimer_.start(kRefreshPeriod);
}

void CStatusFView::OnViewUpdate(const app::ViewUpdateCodes& codes) {
  fields_.SetMeasurementMode(MeasurementMode());
  switch (codes.Status) {
    case app::kUpdateSettings:
      fields_.SettingsChanged(context_.configuration.Options.BaudRateCode);
      break;
    case app::kUpdateMonitoringStarted:
      fields_.MonitoringStarted();
      break;
    case app::kUpdateMonitoringStopped:
      fields_.MonitoringStopped();
      break;
    default:
      return;
  }
  ShowFields();
}

void CStatusFView::OnRefreshTimer() {
  if (fields_.Tick(context_.state.AcquisitionRunning == 1, *this)) ShowFields();
}

monitor::MonitorBlockHeader CStatusFView::LatestHeader() const {
  return context_.monitor.latestBlockHeader.Load();
}

std::uint8_t CStatusFView::BaudRateCode() const {
  return context_.configuration.Options.BaudRateCode;
}

std::optional<std::uint16_t> CStatusFView::ReadMeasuredBaud() const {
  std::uint16_t bitsPerSecond = 0;
  if (!context_.analyzer.ReadMeasuredBaud(bitsPerSecond)) return std::nullopt;
  return bitsPerSecond;
}

bool CStatusFView::MeasurementMode() const {
  return context_.state.SimulationMode == app::kModeBaudrate;
}

void CStatusFView::ShowFields() {
  const views::StatusFieldTexts& texts = fields_.Texts();
  linRevision_->setText(QString::fromStdString(texts.linRevision));
  modeStatus_->setText(QString::fromStdString(texts.modeStatus));
  busStatus_->setText(QString::fromStdString(texts.busStatus));
  packetCount_->setText(QString::fromStdString(texts.packetCount));
  busLoad_->setText(QString::fromStdString(texts.busLoad));
  baudRate_->setText(QString::fromStdString(texts.baudRate));
  modeStatus_->update();  // its colour follows the run state
}

}  // namespace orvane::ui
