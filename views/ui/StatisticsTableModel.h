// The Bus Statistics window's table: the rows views::StatisticsRows makes,
// under the titles views::StatisticsColumnTitles gives, shown as they are.
//
// Threads: the user-interface thread only.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "views/StatisticsTable.h"

namespace orvane::ui {

class StatisticsTableModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  // Takes new rows; a table of the same shape keeps its selection and
  // scroll position.
  void SetRows(std::vector<views::StatisticsRow> rows);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  std::vector<views::StatisticsRow> rows_;
};

}  // namespace orvane::ui
