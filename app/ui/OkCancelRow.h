// The OK and Cancel buttons that end a setup dialog, at the right of a row:
// OK (object name "ok") is the default button and accepts, Cancel
// ("cancel") rejects. A dialog puts further buttons at the row's front.
#pragma once

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace orvane::ui {

inline QHBoxLayout* OkCancelRow(QDialog& dialog) {
  auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
  ok->setObjectName(QStringLiteral("ok"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), &dialog);
  cancel->setObjectName(QStringLiteral("cancel"));
  cancel->setAutoDefault(false);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(ok);
  row->addWidget(cancel);
  return row;
}

}  // namespace orvane::ui
