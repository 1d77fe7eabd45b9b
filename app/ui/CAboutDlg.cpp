#include "app/ui/CAboutDlg.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "analyzer/AnalyzerIdentity.h"
#include "app/ui/Artwork.h"

namespace orvane::ui {
namespace {

constexpr int kWidth = 498;
constexpr int kHeight = 368;

QLabel* AddLabel(QWidget* parent, const QString& text, const QRect& where, const QColor& colour) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(where);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  label->setAttribute(Qt::WA_TranslucentBackground);
  return label;
}

}  // namespace

CAboutDlg::CAboutDlg(const analyzer::AnalyzerIdentity& identity, const QString& languageCode,
                     QWidget* mainWindow)
    : QDialog(mainWindow) {
  setWindowTitle(QStringLiteral("About Q427-VXL View %1")
                     .arg(QString::fromLatin1(analyzer::kRequiredFirmwareVersion)));
  setFixedSize(kWidth, kHeight);
  if (mainWindow != nullptr) move(mainWindow->geometry().topLeft() + QPoint(100, 100));
  AddLabel(this, QStringLiteral("Boot Program ") + QString::fromLatin1(identity.bootVersion),
           QRect(30, 270, 150, 15), Qt::white);
  AddLabel(this, QStringLiteral("Firmware ") + QString::fromLatin1(identity.firmwareVersion),
           QRect(30, 285, 150, 15), Qt::white);
  AddLabel(this, QStringLiteral("Serial No. ") + QString::fromLatin1(identity.serialNumber),
           QRect(30, 300, 150, 15), Qt::white);
  QLabel* address =
      AddLabel(this, DocumentationAddress(languageCode), QRect(200, 270, 270, 25), Qt::yellow);
  QFont large = address->font();
  large.setPixelSize(16);
  address->setFont(large);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setGeometry(205, 320, 85, 22);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void CAboutDlg::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintBackdrop(painter, rect());
}

}  // namespace orvane::ui
