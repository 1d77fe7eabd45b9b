#include "app/ui/OptionFramePage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <string>

#include "settings/IdentifierDefinition.h"
#include "settings/OptionRules.h"

namespace orvane::ui {

namespace {

// The drawing from left to right: fields and the gaps between them.
enum class Part { kBreak, kField, kGap };
struct Segment {
  Part part;
  const char* text;  // inside a field; the two-line label below a field
  const char* label;
};
constexpr int kMargin = 4;
constexpr int kFieldWidth = 48;
constexpr int kGapWidth = 22;
constexpr int kWaveTop = 8;
constexpr int kWaveBottom = 38;
constexpr int kListWidth = 50;

constexpr Segment kSegments[] = {
    {Part::kBreak, "", "Synch\nBreak"},   {Part::kField, "55", "Synch\nField"},
    {Part::kField, "ID", "Ident\nField"}, {Part::kGap, "", ""},  // SpaceA
    {Part::kField, "D0", "Data\nField"},  {Part::kGap, "", ""},  // byte space
    {Part::kField, "Dn", "Data\nField"},  {Part::kGap, "", ""},  // byte space
    {Part::kField, "CS", "Check\nField"}, {Part::kGap, "", ""},  // SpaceB
};

int SegmentWidth(const Segment& segment) {
  return segment.part == Part::kGap ? kGapWidth : kFieldWidth;
}

int SegmentLeft(std::size_t index) {
  int x = kMargin;
  for (std::size_t i = 0; i < index; ++i) x += SegmentWidth(kSegments[i]);
  return x;
}

int PictureWidth() {
  return SegmentLeft(std::size(kSegments)) + kListWidth / 2;
}

// The index in kSegments of gap number `gap` (0 SpaceA ... 3 SpaceB).
std::size_t GapSegment(int gap) {
  int seen = 0;
  for (std::size_t i = 0; i < std::size(kSegments); ++i) {
    if (kSegments[i].part == Part::kGap && seen++ == gap) return i;
  }
  return std::size(kSegments) - 1;
}

void DrawGapArrow(QPainter& painter, int left, int right) {
  const int y = (kWaveTop + kWaveBottom) / 2;
  painter.drawLine(left + 2, y, right - 2, y);
  painter.drawLine(left + 2, y, left + 5, y - 3);
  painter.drawLine(left + 2, y, left + 5, y + 3);
  painter.drawLine(right - 2, y, right - 5, y - 3);
  painter.drawLine(right - 2, y, right - 5, y + 3);
}

}  // namespace

// ---- SpaceComboBox ----

SpaceComboBox::SpaceComboBox(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setCompleter(nullptr);  // what is typed stays as typed
  setMaxVisibleItems(10);
  FillChoices();
}

void SpaceComboBox::FillChoices() {
  const QSignalBlocker blocker(this);
  const QString text = currentText();
  clear();
  for (int space = 0; space <= settings::kMaxSpace; ++space) addItem(QString::number(space));
  const int index = findText(text);
  setCurrentIndex(index);
  setEditText(text);
}

void SpaceComboBox::showPopup() {
  FillChoices();
  QComboBox::showPopup();
}

// ---- FramePicture ----

FramePicture::FramePicture(bool longBreak, QWidget* parent)
    : QWidget(parent), longBreak_(longBreak) {}

QSize FramePicture::sizeHint() const {
  return {PictureWidth(), kLabelTop + 64};
}

int FramePicture::GapCentre(int gap) const {
  return SegmentLeft(GapSegment(gap)) + kGapWidth / 2;
}

void FramePicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor line = palette().color(QPalette::WindowText);
  const QColor fill = palette().color(QPalette::Base);
  painter.setPen(QPen(line, 1.5));
  const int middle = (kWaveTop + kWaveBottom) / 2;

  for (std::size_t i = 0; i < std::size(kSegments); ++i) {
    const Segment& segment = kSegments[i];
    const int left = SegmentLeft(i);
    const int right = left + SegmentWidth(segment);
    switch (segment.part) {
      case Part::kBreak: {
        // Dominant for the break, then the recessive delimiter.
        const int rise = left + SegmentWidth(segment) * 3 / 4;
        QPainterPath path({double(left), double(kWaveTop)});
        path.lineTo(left + 3, kWaveTop);
        path.lineTo(left + 3, kWaveBottom);
        path.lineTo(rise, kWaveBottom);
        path.lineTo(rise, kWaveTop);
        path.lineTo(right, kWaveTop);
        painter.drawPath(path);
        if (longBreak_) {
          // The second picture: a break whose length is selectable.
          painter.save();
          painter.setPen(QPen(line, 1, Qt::DashLine));
          painter.drawLine(rise - 12, kWaveBottom - 6, rise - 12, kWaveBottom + 4);
          painter.drawLine(rise - 12, kWaveBottom + 2, rise, kWaveBottom + 2);
          painter.restore();
        }
        break;
      }
      case Part::kField: {
        QPainterPath path({double(left), double(middle)});
        path.lineTo(left + 5, kWaveTop);
        path.lineTo(right - 5, kWaveTop);
        path.lineTo(right, middle);
        path.lineTo(right - 5, kWaveBottom);
        path.lineTo(left + 5, kWaveBottom);
        path.closeSubpath();
        painter.fillPath(path, fill);
        painter.drawPath(path);
        painter.drawText(QRect(left, kWaveTop, right - left, kWaveBottom - kWaveTop),
                         Qt::AlignCenter, QString::fromLatin1(segment.text));
        break;
      }
      case Part::kGap:
        painter.drawLine(left, kWaveTop, right, kWaveTop);
        painter.save();
        painter.setPen(QPen(line, 1));
        DrawGapArrow(painter, left, right);
        painter.restore();
        break;
    }
  }
}

// ---- OptionFramePage ----

OptionFramePage::OptionFramePage(bool longBreak, QWidget* parent) : QWidget(parent) {
  picture_ = new FramePicture(longBreak, this);
  picture_->setObjectName("framePicture");

  // The two-line field labels under the fields of the drawing.
  for (std::size_t i = 0; i < std::size(kSegments); ++i) {
    if (kSegments[i].part == Part::kGap) continue;
    auto* label = new QLabel(QString::fromLatin1(kSegments[i].label), picture_);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setGeometry(SegmentLeft(i), FramePicture::kLabelTop - 8, kFieldWidth,
                       2 * fontMetrics().height() + 4);
  }

  const int listTop = FramePicture::kLabelTop - 4 + 2 * fontMetrics().height() + 6;
  static constexpr const char* kSpaceNames[] = {"spaceA", "spaceB", "byteSpace"};
  static constexpr int kSpaceGaps[] = {0, 3, 1};
  for (int space = kSpaceA; space <= kByteSpace; ++space) {
    spaces_[space] = new SpaceComboBox(picture_);
    spaces_[space]->setObjectName(kSpaceNames[space]);
    PlaceBelowPicture(spaces_[space], kSpaceGaps[space], listTop);
    connect(spaces_[space], &QComboBox::currentIndexChanged, this,
            [this] { UpdateLengthLabels(); });
    connect(spaces_[space], &QComboBox::editTextChanged, this, [this] { UpdateLengthLabels(); });
  }
  byteSpaceValue_ = new QLabel(picture_);
  byteSpaceValue_->setObjectName("byteSpaceValue");
  byteSpaceValue_->setAlignment(Qt::AlignCenter);
  PlaceBelowPicture(byteSpaceValue_, 2, listTop);
  connect(spaces_[kByteSpace], &QComboBox::editTextChanged, byteSpaceValue_, &QLabel::setText);
  picture_->setFixedSize(PictureWidth() + kListWidth / 2,
                         listTop + spaces_[kSpaceA]->sizeHint().height() + 4);

  dataLength_ = new QComboBox(this);
  dataLength_->setObjectName("dataLength");
  for (int length = 0; length <= settings::kMaxDataLength; ++length)
    dataLength_->addItem(QString::number(length));
  connect(dataLength_, &QComboBox::currentIndexChanged, this, [this] { UpdateLengthLabels(); });
  totalLength_ = new QLabel(this);
  totalLength_->setObjectName("totalLength");
  maxLength_ = new QLabel(this);
  maxLength_->setObjectName("maxLength");

  auto* lengths = new QHBoxLayout;
  lengths->addWidget(new QLabel("DL=", this));
  lengths->addWidget(dataLength_);
  lengths->addSpacing(12);
  lengths->addWidget(totalLength_);
  lengths->addSpacing(12);
  lengths->addWidget(maxLength_);
  lengths->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(picture_);
  layout->addLayout(lengths);
  layout->addStretch();
}

void OptionFramePage::PlaceBelowPicture(QWidget* widget, int gap, int top) {
  const int height = widget->sizeHint().height();
  widget->setGeometry(picture_->GapCentre(gap) - kListWidth / 2, top, kListWidth, height);
}

void OptionFramePage::Fill(const settings::FrameTimingRecord& timing) {
  const std::uint8_t values[] = {timing.SpaceA, timing.SpaceB, timing.ByteSpace};
  for (int space = kSpaceA; space <= kByteSpace; ++space) {
    spaces_[space]->setCurrentIndex(values[space] <= settings::kMaxSpace ? values[space] : -1);
    spaces_[space]->setEditText(QString::number(values[space]));
  }
  dataLength_->setCurrentIndex(2);
  UpdateLengthLabels();
}

std::optional<OptionFramePage::Space> OptionFramePage::FirstBadSpace() const {
  for (int space = kSpaceA; space <= kByteSpace; ++space) {
    if (!settings::ParseSpace(spaces_[space]->currentText().toStdString())) return Space(space);
  }
  return std::nullopt;
}

settings::FrameTimingRecord OptionFramePage::WithSpaces(settings::FrameTimingRecord base) const {
  const auto read = [this](Space space, std::uint8_t& field) {
    if (const auto value = settings::ParseSpace(spaces_[space]->currentText().toStdString()))
      field = *value;
  };
  read(kSpaceA, base.SpaceA);
  read(kSpaceB, base.SpaceB);
  read(kByteSpace, base.ByteSpace);
  return base;
}

int OptionFramePage::DataLength() const {
  return std::max(0, dataLength_->currentIndex());
}

void OptionFramePage::FocusSpace(Space space) {
  spaces_[space]->setFocus(Qt::OtherFocusReason);
  spaces_[space]->lineEdit()->selectAll();
}

void OptionFramePage::UpdateLengthLabels() {
  // The labels follow the lists while they read as spaces; a list being
  // typed into that does not (yet) read as 0-60 leaves them as they were.
  if (FirstBadSpace()) return;
  const settings::FrameTimingRecord timing = WithSpaces({});
  totalLength_->setText(QString::fromStdString(settings::TotalLengthLabel(timing, DataLength())));
  maxLength_->setText(QString::fromStdString(settings::MaxLengthLabel(DataLength())));
}

}  // namespace orvane::ui
