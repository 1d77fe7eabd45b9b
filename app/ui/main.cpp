// orvane: the desktop program.
#include <QApplication>

#include "app/ui/Artwork.h"
#include "app/ui/COrvaneApp.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Orvane"));
  QApplication::setDesktopFileName(QStringLiteral("orvane"));
  QApplication::setWindowIcon(orvane::ui::ProgramIcon());
  orvane::ui::COrvaneApp orvane;
  return orvane.Run(QApplication::arguments().mid(1));
}
