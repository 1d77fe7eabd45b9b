#include "views/ui/CFrameHighlightDlg.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ui/OkCancelRow.h"
#include "views/ui/FrameHighlightPage.h"

namespace orvane::ui {

namespace {

constexpr std::array<const char*, settings::kFrameHighlightCount> kTabTitles{
    "FrmCH1(Red)", "FrmCH2(Blue)", "FrmCH3(Green)", "FrmCH4(Purpe)"};

}  // namespace

CFrameHighlightDlg::CFrameHighlightDlg(
    Conditions conditions, const std::array<std::string, views::kIoEventCount>& ioEventNames,
    const settings::IdentifierDefinition& identifiers, monitor::MessageSink& messages,
    QWidget* parent)
    : QDialog(parent), conditions_(conditions), ioEventNames_(ioEventNames) {
  setObjectName("CFrameHighlightDlg");
  setWindowTitle("Special Frame Setup");
  std::copy(conditions.begin(), conditions.end(), copy_.begin());
  std::copy(std::begin(identifiers.dataLength), std::end(identifiers.dataLength),
            dataLengths_.begin());

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("tabs");
  tabs_->setUsesScrollButtons(false);  // all four titles stay in view
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    pages_[i] = new FrameHighlightPage(copy_[i], ioEventNames_, dataLengths_, messages, tabs_);
    pages_[i]->setObjectName(QString("page%1").arg(i + 1));
    pages_[i]->Refresh();
    tabs_->addTab(pages_[i], kTabTitles[i]);
  }
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int page) {
    if (page >= 0) pages_[static_cast<std::size_t>(page)]->Refresh();
  });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addLayout(OkCancelRow(*this));
}

// Hidden while the copy still exists: the focus leaving a field as the
// window goes ends that field's editing, which writes the copy.
CFrameHighlightDlg::~CFrameHighlightDlg() {
  hide();
}

void CFrameHighlightDlg::accept() {
  std::copy(copy_.begin(), copy_.end(), conditions_.begin());
  QDialog::accept();
}

}  // namespace orvane::ui
