// The command line of orvane-cli, parsed with CLI11: one subcommand per
// command, options in any order, --help on every command and --version.
//
// Exit codes: 0 for --help, --version and a command that succeeded; 1 for a
// usage error, which is said as "orvane-cli <command>: <what>" on stderr
// followed by the command's help; otherwise what the command returns (2 for
// rejected input or a failed device operation).
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvane::cli {

class CommandLine {
 public:
  CommandLine();
  CommandLine(const CommandLine&) = delete;
  CommandLine& operator=(const CommandLine&) = delete;

  CLI::App& root() { return root_; }

  // A command under `parent` (the root or a command with commands of its own).
  CLI::App& AddCommand(CLI::App& parent, const std::string& name, const std::string& description);

  // `run` runs when the parsed command line names `command`; it returns the
  // exit code.
  void RunsWhenChosen(const CLI::App& command, std::function<int()> run);

  int Run(int argc, const char* const* argv);

 private:
  CLI::App root_;
  std::map<const CLI::App*, std::function<int()>> runs_;
};

// A decimal number of 1 to 9 digits, nothing else (no sign, no "0x", and a
// leading 0 is not octal).
std::optional<long> DecimalNumber(std::string_view text);

// Accepts a decimal number from `min` to `max` (no upper limit without one)
// and passes it on without leading zeros.
CLI::Validator NumberFrom(long min, std::optional<long> max = std::nullopt);

// Refuses an empty value, such as --log "".
CLI::Validator NotEmpty();

// An option that takes one of the names in `choices` and stores the value
// paired with it in `target`; its value is shown as "name1|name2|...".
template <typename T>
CLI::Option* AddChoiceOption(CLI::App& command, const std::string& name, T& target,
                             std::vector<std::pair<std::string, T>> choices,
                             const std::string& description) {
  std::vector<std::string> names;
  for (const auto& choice : choices) names.push_back(choice.first);
  const std::string shown = CLI::detail::join(names, "|");
  auto store = [&target, choices = std::move(choices)](const std::string& text) {
    for (const auto& [choiceName, value] : choices) {
      if (choiceName == text) target = value;
    }
  };
  return command.add_option_function<std::string>(name, store, description)
      ->check(CLI::IsMember(names).description(""))
      ->type_name(shown);
}

}  // namespace orvane::cli
