#include "signals/ui/SignalSources.h"

#include <QMdiSubWindow>
#include <span>

#include "app/WindowCommands.h"
#include "app/ui/QtText.h"
#include "settings/FixedText.h"

namespace orvane::ui {

SignalSources SignalSourcesOf(const app::AppContext& context) {
  return SignalSources{context.description, context.configuration.Settings, context.state,
                       context.monitor.LastFrameTable};
}

signals::SortOrder SortOrderOf(const settings::SettingsRecord& settings) {
  return settings.Options.SortOrder == settings::kOrderOfNode ? signals::SortOrder::kByNode
                                                              : signals::SortOrder::kById;
}

QString SignalWindowCaption(app::Window window, const settings::SettingsRecord& settings) {
  const char* order = SortOrderOf(settings) == signals::SortOrder::kByNode
                          ? " - (Each Mode : Order of Node) - ["
                          : " - (Each Mode : Order of ID) - [";
  return QtText(app::WindowBaseName(window)) + QString::fromLatin1(order) +
         QtText(settings::FieldText(settings.DescriptionPath)) + QLatin1Char(']');
}

QString RelaxedMarker(const signals::LinDescription* description) {
  return description != nullptr && description->loadedRelaxed ? QStringLiteral(" (relaxed)")
                                                              : QString();
}

void CarryView(QMdiSubWindow& frame, QWidget* view) {
  frame.setWidget(view);
  frame.setWindowTitle(view->windowTitle());
  QObject::connect(view, &QWidget::windowTitleChanged, &frame, &QWidget::setWindowTitle);
}

}  // namespace orvane::ui
