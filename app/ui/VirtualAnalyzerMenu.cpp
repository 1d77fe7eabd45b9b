#include "app/ui/VirtualAnalyzerMenu.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <array>

namespace orvane::ui {
namespace {

struct Fault {
  const char* text;
  std::int32_t action;
  std::uint32_t value;
  bool separatorBefore;
};

// A bus at another rate than the analyzer's 9600 bit/s default shows as
// framing and sync-field errors.
constexpr std::array kFaults = {
    Fault{"&Unplug the Analyzer", ORLINK_VIRTUAL_UNPLUG, 0, false},
    Fault{"Bus at &4800 bit/s", ORLINK_VIRTUAL_BUS_BAUD, 4800, true},
    Fault{"Bus at &9600 bit/s", ORLINK_VIRTUAL_BUS_BAUD, 9600, false},
    Fault{"Bus at &19200 bit/s", ORLINK_VIRTUAL_BUS_BAUD, 19200, false},
    Fault{"&Garble the Next Reply", ORLINK_VIRTUAL_GARBLE_REPLY, 0, true},
    Fault{"&Lose the Next Reply", ORLINK_VIRTUAL_STALL_REPLY, 0, false},
};

}  // namespace

bool AddVirtualAnalyzerMenu(QMainWindow& frame, const analyzer::VirtualAnalyzerControl& control) {
  if (!control || control(ORLINK_VIRTUAL_QUERY, 0) != 1) return false;
  auto* menu = new QMenu(QStringLiteral("V&irtual Analyzer"), &frame);
  for (const Fault& fault : kFaults) {
    if (fault.separatorBefore) menu->addSeparator();
    QAction* action = menu->addAction(QString::fromLatin1(fault.text));
    QObject::connect(action, &QAction::triggered, menu,
                     [control, fault] { control(fault.action, fault.value); });
  }
  QMenuBar* bar = frame.menuBar();
  const QList<QAction*> menus = bar->actions();
  bar->insertMenu(menus.isEmpty() ? nullptr : menus.last(), menu);
  return true;
}

}  // namespace orvane::ui
