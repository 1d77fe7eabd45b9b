#include "cli/CommandLine.h"

#include <cstdio>
#include <memory>
#include <sstream>

#include "cli/Commands.h"

namespace orvane::cli {
namespace {

constexpr int kUsageError = 1;
constexpr char kDescription[] =
    "The headless companion of Orvane: monitor the bus, run configurations, and check and\n"
    "convert the program's files.";
constexpr char kFooter[] =
    "Exit codes: 0 success, 1 usage error, 2 rejected input or a failed device operation.\n"
    "Run 'orvane-cli COMMAND --help' for the options of a command.";

// The arguments of a usage line in the order the command declares them:
// "--config FILE [--mode monitor|master|slave|baud]", "FILE [--editor]". A
// command with commands of its own lists theirs, "new FILE | show FILE".
std::string Arguments(const CLI::App& command) {
  std::string text;
  for (const CLI::Option* option : command.get_options()) {
    if (option == command.get_help_ptr()) continue;
    std::string word = option->get_name();
    if (!option->get_positional() && !option->get_type_name().empty()) {
      word += " " + option->get_type_name();
    }
    text += " " + (option->get_required() ? word : "[" + word + "]");
  }
  const std::vector<const CLI::App*> commands =
      command.get_subcommands([](const CLI::App* sub) { return !sub->get_group().empty(); });
  if (commands.empty()) return text;
  if (command.get_parent() == nullptr) return text + " COMMAND [ARGS]";
  std::vector<std::string> alternatives;
  for (const CLI::App* sub : commands) alternatives.push_back(sub->get_name() + Arguments(*sub));
  return text + " " + CLI::detail::join(alternatives, " | ");
}

// Help with the usage line first and each command shown with its arguments.
class HelpFormatter final : public CLI::Formatter {
 public:
  std::string make_usage(const CLI::App* command, std::string name) const override {
    return "usage: " + name + Arguments(*command) + "\n";
  }

  std::string make_help(const CLI::App* command, std::string name,
                        CLI::AppFormatMode mode) const override {
    return make_usage(command, name) + make_description(command) + make_positionals(command) +
           make_groups(command, mode) + make_subcommands(command, mode) + "\n" +
           make_footer(command);
  }

  std::string make_subcommand(const CLI::App* command) const override {
    std::ostringstream out;
    CLI::detail::format_help(out, command->get_name() + Arguments(*command),
                             command->get_description(), column_width_);
    return out.str();
  }
};

// The command the parser was in: the one selected at each level, down to the
// deepest.
const CLI::App& InnermostCommand(const CLI::App& root) {
  const CLI::App* command = &root;
  while (!command->get_subcommands().empty()) command = command->get_subcommands().front();
  return *command;
}

// What went wrong, said for the command the parser was in. CLI11 calls a
// word where a command belongs a missing command, and lists the arguments it
// did not expect in reverse order.
std::string Problem(const CLI::App& command, const CLI::ParseError& error) {
  const std::vector<std::string> extras = command.remaining();
  if (extras.empty()) return error.what();
  if (command.get_require_subcommand_min() > 0 && command.get_subcommands().empty()) {
    return "unknown command '" + extras.front() + "'";
  }
  if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) {
    return (extras.size() == 1 ? "unexpected argument: " : "unexpected arguments: ") +
           CLI::detail::join(extras, " ");
  }
  return error.what();
}

// "orvane-cli", "orvane-cli cfg show".
std::string CommandPath(const CLI::App& command) {
  const CLI::App* parent = command.get_parent();
  return parent == nullptr ? command.get_name() : CommandPath(*parent) + " " + command.get_name();
}

}  // namespace

CommandLine::CommandLine() : root_(kDescription, "orvane-cli") {
  root_.formatter(std::make_shared<HelpFormatter>());
  root_.set_help_flag("-h,--help", "print this help and exit");
  root_.set_version_flag("--version", "orvane-cli " ORVANE_VERSION,
                         "print the program version and exit");
  root_.footer(kFooter);
  root_.require_subcommand(1);
  // "orvane-cli help" still asks for the help. It is a silent command: it is
  // not shown, and the help printed is the program's own.
  root_.add_subcommand("help")->silent()->group("")->allow_extras()->parse_complete_callback(
      [] { throw CLI::CallForHelp(); });
}

CLI::App& CommandLine::AddCommand(CLI::App& parent, const std::string& name,
                                  const std::string& description) {
  CLI::App& command = *parent.add_subcommand(name, description);
  command.group("Commands");
  command.footer("");  // the program's footer is for its own help only
  return command;
}

void CommandLine::RunsWhenChosen(const CLI::App& command, std::function<int()> run) {
  runs_.emplace(&command, std::move(run));
}

int CommandLine::Run(int argc, const char* const* argv) {
  try {
    root_.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::fputs(root_.help().c_str(), stdout);  // the help of the command asked about
    return 0;
  } catch (const CLI::CallForVersion& version) {
    std::printf("%s\n", version.what());
    return 0;
  } catch (const CLI::ParseError& error) {
    const CLI::App& command = InnermostCommand(root_);
    std::fprintf(stderr, "%s: %s\n", CommandPath(command).c_str(), Problem(command, error).c_str());
    std::fputs(root_.help().c_str(), stderr);
    return kUsageError;
  }
  // Every command the parser accepts runs something: a command with commands
  // of its own requires one of them.
  return runs_.at(&InnermostCommand(root_))();
}

std::optional<long> DecimalNumber(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

CLI::Validator NumberFrom(long min, std::optional<long> max) {
  const std::string range = max ? "from " + std::to_string(min) + " to " + std::to_string(*max)
                                : "of " + std::to_string(min) + " or more";
  return {[min, max, range](std::string& text) -> std::string {
            const std::optional<long> number = DecimalNumber(text);
            if (!number || *number < min || (max && *number > *max)) {
              return "'" + text + "' is not a number " + range;
            }
            text = std::to_string(*number);
            return {};
          },
          ""};
}

CLI::Validator NotEmpty() {
  return {[](std::string& text) {
            return text.empty() ? std::string("must not be empty") : std::string();
          },
          ""};
}

int Fail(std::string_view command, std::string_view message) {
  std::fprintf(stderr, "orvane-cli %.*s: %.*s\n", static_cast<int>(command.size()), command.data(),
               static_cast<int>(message.size()), message.data());
  return 2;
}

}  // namespace orvane::cli
