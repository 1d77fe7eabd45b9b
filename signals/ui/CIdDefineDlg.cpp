#include "signals/ui/CIdDefineDlg.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <optional>

#include "app/ui/OkCancelRow.h"
#include "settings/SettingsRecord.h"

namespace orvane::ui {

namespace {

QString HexName(const char* prefix, std::uint8_t identifier) {
  return QString("%1%2").arg(prefix).arg(identifier, 2, 16, QChar('0'));
}

// 0x3C and 0x3D (diagnostic frames) are always classic.
bool AlwaysClassic(std::uint8_t identifier) {
  return identifier == 0x3C || identifier == 0x3D;
}
// 0x3E and 0x3F (extended frames): no checksum choice, no data length entry.
bool Extended(std::uint8_t identifier) {
  return identifier >= 0x3E;
}

}  // namespace

// One tab: 16 identifiers in two blocks of 8 rows, each row the identifier,
// its data length field and the "Classic" / "Enhanced" buttons.
class IdDefinePage final : public QWidget {
 public:
  IdDefinePage(int page, settings::IdentifierDefinition& copy, bool lin20,
               monitor::MessageSink& messages, QWidget* parent)
      : QWidget(parent),
        first_(static_cast<std::uint8_t>(page * CIdDefineDlg::kRowsPerPage)),
        copy_(copy),
        messages_(messages) {
    setObjectName(QString("page%1").arg(page));
    auto* layout = new QHBoxLayout(this);
    constexpr int kRowsPerBlock = CIdDefineDlg::kRowsPerPage / 2;
    for (int block = 0; block < 2; ++block) {
      auto* grid = new QGridLayout;
      grid->addWidget(new QLabel("ID", this), 0, 0, Qt::AlignCenter);
      grid->addWidget(new QLabel("DL", this), 0, 1, Qt::AlignCenter);
      for (int row = 0; row < kRowsPerBlock; ++row) {
        const int index = block * kRowsPerBlock + row;
        AddRow(grid, row + 1, index, lin20);
      }
      grid->setRowStretch(kRowsPerBlock + 1, 1);
      layout->addLayout(grid);
      if (block == 0) layout->addSpacing(16);
    }
    layout->addStretch();
  }

  // Shows the copy's values of this page's identifiers.
  void Refresh() {
    for (int index = 0; index < CIdDefineDlg::kRowsPerPage; ++index) {
      const Row& row = rows_[index];
      const std::uint8_t identifier = Identifier(index);
      row.length->setText(QString::number(copy_.dataLength[identifier]));
      (copy_.classicChecksum[identifier] != 0 ? row.classic : row.enhanced)->setChecked(true);
    }
  }

  std::uint8_t First() const { return first_; }

  // Puts `text` into the field of row `index` as if typed.
  void Enter(int index, const QString& text) {
    QLineEdit* field = rows_[index].length;
    if (!field->isEnabled()) return;
    field->setText(text);
    Edited(index, text);
  }

 private:
  struct Row {
    QLineEdit* length = nullptr;
    QRadioButton* classic = nullptr;
    QRadioButton* enhanced = nullptr;
  };

  std::uint8_t Identifier(int index) const { return static_cast<std::uint8_t>(first_ + index); }

  void AddRow(QGridLayout* grid, int gridRow, int index, bool lin20) {
    const std::uint8_t identifier = Identifier(index);
    Row& row = rows_[index];
    grid->addWidget(new QLabel(QString("%1").arg(identifier, 2, 16, QChar('0')), this), gridRow, 0,
                    Qt::AlignCenter);

    row.length = new QLineEdit(this);
    row.length->setMaxLength(1);
    row.length->setAlignment(Qt::AlignCenter);
    row.length->setFixedWidth(row.length->fontMetrics().horizontalAdvance("00") + 12);
    grid->addWidget(row.length, gridRow, 1);

    row.classic = new QRadioButton("Classic", this);
    row.classic->setObjectName(HexName("classic", identifier));
    row.enhanced = new QRadioButton("Enhanced", this);
    row.enhanced->setObjectName(HexName("enhanced", identifier));
    auto* group = new QButtonGroup(this);  // the two buttons of one row
    group->addButton(row.classic);
    group->addButton(row.enhanced);
    grid->addWidget(row.classic, gridRow, 2);
    grid->addWidget(row.enhanced, gridRow, 3);
    row.enhanced->setEnabled(settings::CanUseEnhancedChecksum(identifier, lin20));

    if (Extended(identifier)) {
      // No entry: a disabled field of the same size, no checksum choice.
      row.length->setObjectName(HexName("dlDisabled", identifier));
      row.length->setEnabled(false);
      row.classic->hide();
      row.enhanced->hide();
      return;
    }
    row.length->setObjectName(HexName("dl", identifier));
    if (AlwaysClassic(identifier)) row.enhanced->hide();

    connect(row.length, &QLineEdit::textEdited, this,
            [this, index](const QString& text) { Edited(index, text); });
    connect(row.length, &QLineEdit::editingFinished, this, [this, index] { Finished(index); });
    connect(row.classic, &QRadioButton::clicked, this,
            [this, identifier] { copy_.classicChecksum[identifier] = 1; });
    connect(row.enhanced, &QRadioButton::clicked, this,
            [this, identifier] { copy_.classicChecksum[identifier] = 0; });
  }

  // A data length 0-8 is taken at once; anything else is refused with the
  // message and the field shows the previous value again. An empty field
  // waits for the next character.
  void Edited(int index, const QString& text) {
    if (text.isEmpty()) return;
    const std::uint8_t identifier = Identifier(index);
    if (const std::optional<std::uint8_t> length = settings::ParseDataLength(text.toStdString())) {
      copy_.dataLength[identifier] = *length;
      return;
    }
    QLineEdit* field = rows_[index].length;
    messages_.Show(settings::kDataLengthRangeMessage);
    field->setText(QString::number(copy_.dataLength[identifier]));
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
  }

  // A field left empty shows its value again.
  void Finished(int index) {
    QLineEdit* field = rows_[index].length;
    const std::uint8_t identifier = Identifier(index);
    if (!settings::ParseDataLength(field->text().toStdString())) {
      field->setText(QString::number(copy_.dataLength[identifier]));
    }
  }

  std::uint8_t first_;
  settings::IdentifierDefinition& copy_;
  monitor::MessageSink& messages_;
  std::array<Row, CIdDefineDlg::kRowsPerPage> rows_{};
};

CIdDefineDlg::CIdDefineDlg(settings::IdentifierDefinition& definition, std::uint32_t linRevision,
                           monitor::MessageSink& messages, QWidget* parent)
    : QDialog(parent), definition_(definition), copy_(definition) {
  setObjectName("CIdDefineDlg");
  setWindowTitle("Identifier Definition Setup");
  const bool lin20 = linRevision == settings::kLin20;

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("tabs");
  static constexpr const char* kTabTitles[kPageCount] = {"00 - 0F", "10 - 1F", "20 - 2F",
                                                         "30 - 3F"};
  for (int page = 0; page < kPageCount; ++page) {
    pages_[page] = new IdDefinePage(page, copy_, lin20, messages, tabs_);
    pages_[page]->Refresh();
    tabs_->addTab(pages_[page], kTabTitles[page]);
  }
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int page) {
    if (page >= 0) pages_[page]->Refresh();
  });

  const auto makeButton = [this](const char* text, const char* name) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
  };
  QPushButton* defaultAll = makeButton("Default (All)", "defaultAll");
  QPushButton* defaultPage = makeButton("Default", "default");
  connect(defaultAll, &QPushButton::clicked, this, &CIdDefineDlg::DefaultAllPages);
  connect(defaultPage, &QPushButton::clicked, this, &CIdDefineDlg::DefaultVisiblePage);

  QHBoxLayout* buttons = OkCancelRow(*this);
  buttons->insertWidget(0, defaultPage);
  buttons->insertWidget(0, defaultAll);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addLayout(buttons);
}

// Hidden while the copy still exists: the focus leaving a field as the
// window goes ends that field's editing, which reads the copy.
CIdDefineDlg::~CIdDefineDlg() {
  hide();
}

void CIdDefineDlg::DefaultVisiblePage() {
  IdDefinePage* page = pages_[tabs_->currentIndex()];
  settings::SetIdentifierDefaults(copy_, page->First(), kRowsPerPage);
  page->Refresh();
}

void CIdDefineDlg::DefaultAllPages() {
  settings::SetIdentifierDefaults(copy_);
  for (IdDefinePage* page : pages_) page->Refresh();
}

void CIdDefineDlg::SetDataLengthText(std::uint8_t identifier, const QString& text) {
  if (identifier >= settings::kIdentifierCount) return;
  pages_[identifier / kRowsPerPage]->Enter(identifier % kRowsPerPage, text);
}

void CIdDefineDlg::accept() {
  definition_ = copy_;
  QDialog::accept();
}

}  // namespace orvane::ui
