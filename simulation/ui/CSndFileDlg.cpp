#include "simulation/ui/CSndFileDlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <array>

#include "monitor/MessageCatalogue.h"
#include "app/ui/QtText.h"

namespace orvane::ui {

namespace {

constexpr std::int32_t kNoSelectionMessage = 201;
constexpr int kFileColumn = 3;
constexpr std::string_view kExtendedFileFilter = "Extended Frame File(*.ext)|*.ext|All(*.*)|*.*||";

QPushButton* Button(const char* text, const char* name) {
  auto* button = new QPushButton(QString::fromLatin1(text));
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

CSndFileDlg::CSndFileDlg(const simulation::MasterSchedules& schedules,
                         const simulation::SimSlot& interruptSlot,
                         simulation::ExtendedFileTable& files, std::string_view languageCode,
                         const std::filesystem::path& programFolder, app::WindowRequests& windows,
                         monitor::MessageSink& messages, QWidget* parent)
    : QDialog(parent),
      files_(files),
      programFolder_(programFolder),
      windows_(windows),
      messages_(messages),
      rows_(simulation::ExtendedFileRows(schedules, interruptSlot, files)),
      list_(new QTreeWidget) {
  setWindowTitle(QStringLiteral("Send File"));
  SetUpList(languageCode);
  for (std::size_t row = 0; row < rows_.size(); ++row) ShowRow(row);

  QPushButton* select = Button("Select File", "selectFile");
  QPushButton* clear = Button("Clear", "clear");
  QPushButton* close = Button("Close", "close");
  connect(select, &QPushButton::clicked, this, &CSndFileDlg::SelectFile);
  connect(clear, &QPushButton::clicked, this, &CSndFileDlg::ClearFile);
  connect(close, &QPushButton::clicked, this, &CSndFileDlg::CloseAndStore);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(select);
  buttons->addWidget(clear);
  buttons->addStretch(1);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addLayout(buttons);
  resize(480, 260);
}

void CSndFileDlg::SetUpList(std::string_view languageCode) {
  list_->setObjectName(QStringLiteral("files"));
  list_->setRootIsDecorated(false);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setHeaderLabels({QStringLiteral("Sch/Int"), QStringLiteral("Sch"), QStringLiteral("No."),
                          QStringLiteral("File")});
  const bool japanese = languageCode == "JPN";
  const std::array<int, 4> widths =
      japanese ? std::array<int, 4>{50, 32, 28, 317} : std::array<int, 4>{50, 36, 36, 313};
  for (int column = 0; column < 4; ++column) list_->setColumnWidth(column, widths[column]);
  list_->header()->setStretchLastSection(false);
}

void CSndFileDlg::ShowRow(std::size_t row) {
  const simulation::ExtendedFileRow& file = rows_[row];
  const std::array<std::string, 3> cells = simulation::ExtendedFileRowCells(file);
  QTreeWidgetItem* item = list_->topLevelItem(static_cast<int>(row));
  if (item == nullptr) item = new QTreeWidgetItem(list_);
  for (int column = 0; column < 3; ++column) item->setText(column, QtText(cells[column]));
  item->setText(kFileColumn, QtText(file.path));
}

int CSndFileDlg::SelectedRow() const {
  const QList<QTreeWidgetItem*> selected = list_->selectedItems();
  return selected.isEmpty() ? -1 : list_->indexOfTopLevelItem(selected.first());
}

void CSndFileDlg::SelectFile() {
  const int row = SelectedRow();
  if (row < 0) {
    monitor::ShowErrorMessage(messages_, kNoSelectionMessage);
    return;
  }
  const std::string initialName =
      programFolder_.empty() ? std::string("default.ext") : (programFolder_ / "default.ext").string();
  const std::optional<std::string> chosen = windows_.ChooseFile(
      {.initialName = initialName, .defaultExtension = "ext", .filter = kExtendedFileFilter});
  if (!chosen) return;
  rows_[static_cast<std::size_t>(row)].path = *chosen;
  ShowRow(static_cast<std::size_t>(row));
}

void CSndFileDlg::ClearFile() {
  const int row = SelectedRow();
  if (row < 0) return;
  rows_[static_cast<std::size_t>(row)].path.clear();
  ShowRow(static_cast<std::size_t>(row));
}

void CSndFileDlg::CloseAndStore() {
  const simulation::ExtendedFilesResult result =
      simulation::StoreExtendedFileRows(rows_, files_, messages_);
  switch (result.outcome) {
    case simulation::ExtendedFilesOutcome::kStored:
    case simulation::ExtendedFilesOutcome::kStoredCleared:
      accept();
      return;
    case simulation::ExtendedFilesOutcome::kPathTooLong:
      list_->setCurrentItem(list_->topLevelItem(static_cast<int>(result.row)));
      return;
    case simulation::ExtendedFilesOutcome::kTooMany:
      return;
  }
}

}  // namespace orvane::ui
