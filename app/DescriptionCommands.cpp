#include "app/DescriptionCommands.h"

#include <optional>
#include <string>

#include "settings/FixedText.h"
#include "monitor/MessageSink.h"

namespace orvane::app {

namespace {

// The open dialog's pattern behind the filter's name.
constexpr std::string_view kDescriptionFilePattern = "|*.ldf||";
constexpr std::string_view kLoadRelaxedButton = "Load with relaxed rules";

// The load's questions and reports, through the application's windows and
// message boxes.
class DescriptionPrompt final : public signals::LoadPrompt {
 public:
  explicit DescriptionPrompt(const AppContext& context) : context_(context) {}

  std::optional<std::string> ChooseFile(std::string_view title, std::string_view filter,
                                        const std::string& current) override {
    const std::string dialogFilter = std::string(filter).append(kDescriptionFilePattern);
    std::optional<std::string> path = context_.windows.ChooseFile({.save = false,
                                                                   .initialName = current,
                                                                   .defaultExtension = "ldf",
                                                                   .filter = dialogFilter,
                                                                   .title = title});
    if (path && path->size() >= settings::kDescriptionPathSize) {
      monitor::ShowErrorBox(context_.messages, kDescriptionPathTooLongText);
      return std::nullopt;
    }
    return path;
  }

  void ShowFailure(int messageId, std::string_view text) override {
    ShowFailureDetail(messageId, text, {}, false);
  }

  // The stop box with where the load failed in its detail, and the relaxed
  // retry as a further button when a relaxed load would get through.
  bool ShowFailureDetail(int /*messageId*/, std::string_view text, std::string_view detail,
                         bool offerRelaxed) override {
    const monitor::MessageAnswer answer =
        context_.messages.Show({.caption = kApplicationTitle,
                                .text = text,
                                .icon = monitor::MessageIcon::kStop,
                                .detail = detail,
                                .extraButton = offerRelaxed ? kLoadRelaxedButton : ""});
    return offerRelaxed && answer == monitor::MessageAnswer::kExtra;
  }

  void SetBusy(bool busy) override { context_.windows.SetWaitCursor(busy); }

 private:
  const AppContext& context_;
};

}  // namespace

bool LoadLinDescriptionFile(const AppContext& context) {
  settings::SettingsRecord& record = context.configuration.Settings;
  std::string path(settings::FieldText(record.DescriptionPath));
  DescriptionPrompt prompt(context);
  const bool loaded = context.description.LoadChosen(path, prompt) == signals::LoadResult::kLoaded;
  if (loaded) {
    record.Selection = {};
    settings::CopyToField(path, record.DescriptionPath);
    record.DescriptionReference = 1;
  }
  FollowLoadedDescription(context);
  return loaded;
}

void FollowLoadedDescription(const AppContext& context) {
  if (context.description.Loaded()) {
    context.windows.RefreshSignalWindows();
    return;
  }
  for (const Window window : {Window::kSignalSelect, Window::kSignalMonitor, Window::kSignalPlot}) {
    if (context.state.WindowOpen[window]) context.windows.CloseWindow(window);
  }
}

}  // namespace orvane::app
