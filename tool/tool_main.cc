// schedule-tool: the schedule conversion from the command line, for scripts,
// and the commands around it. This file walks the command table: every
// command's room gives its name, help, options and run (tool_command.h),
// and every command line is read here, one way for all commands, as GNU
// tools read theirs: options before or after the file names, "--" ends the
// options, a file named "-" is standard input (standard output for
// --output), an unknown or repeated option is a usage error that names it,
// and --help anywhere shows that command's help.
#include <algorithm>
#include <cfenv>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "files/file_replace.h"
#include "frame/program_arguments.h"
#include "tool/build/build_command.h"
#include "tool/calendar/calendar_command.h"
#include "tool/check/check_command.h"
#include "tool/dump/dump_command.h"
#include "tool/export/export_command.h"
#include "tool/generate/generate_command.h"
#include "tool/import/import_command.h"
#include "tool/name_distance.h"
#include "tool/report/report_command.h"
#include "tool/tool_command.h"
#include "tool/tool_output.h"

namespace {

using tool::Command;
using tool::CommandLine;
using tool::kUsageError;

// The commands, in the order the help lists them.
std::vector<Command> CommandTable() {
  return {tool::BuildCommand(),  tool::DumpCommand(),     tool::CheckCommand(),
          tool::ImportCommand(), tool::ExportCommand(),   tool::ReportCommand(),
          tool::CalendarCommand(), tool::GenerateCommand()};
}

// The synopsis of every command, shown with a usage error too.
std::string Synopsis(const std::vector<Command>& table) {
  std::vector<std::string> lines;
  for (const Command& command : table) {
    lines.insert(lines.end(), command.synopsis.begin(), command.synopsis.end());
  }
  lines.emplace_back("schedule-tool COMMAND --help");
  lines.emplace_back("schedule-tool help [COMMAND]");
  lines.emplace_back("schedule-tool --help | --version");
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    text += (i == 0 ? "Usage: " : "       ") + lines[i] + "\n";
  }
  return text;
}

// What --help adds to the synopsis: each command's paragraph, its lines
// after the first under the first's words, then what every command shares.
std::string Overview(const std::vector<Command>& table) {
  constexpr size_t kIndent = 8;
  std::string text = "\n";
  for (const Command& command : table) {
    std::string name = command.name;
    text += name + std::string(name.size() < kIndent ? kIndent - name.size() : 1, ' ');
    for (const char* c = command.summary; *c != '\0'; ++c) {
      text += *c;
      if (*c == '\n') text += std::string(kIndent, ' ');
    }
    text += '\n';
  }
  text +=
      "\n"
      "Input format: date lines in brackets, e.g. [04/10/45], each followed by\n"
      "the games of that date, one per line: visitor file name in columns 1-8,\n"
      "home file name in columns 10-17, options (if any) in columns 19-30.\n"
      "\n"
      "Options go before or after the file names; -- ends the options; a file\n"
      "named - is standard input (standard output for --output).\n"
      "\n"
      "Exit status: 0 done, 1 failed (check: something found), 2 usage.\n";
  return text;
}

int UsageError(const std::vector<Command>& table, const std::string& message) {
  std::fprintf(stderr, "schedule-tool: %s\n%s", message.c_str(), Synopsis(table).c_str());
  return kUsageError;
}

const Command* FindCommand(const std::vector<Command>& table, const std::string& name) {
  for (const Command& command : table) {
    if (name == command.name) return &command;
  }
  return nullptr;
}

// A word that names no command, with the command it was likely meant for:
// the nearest name two bytes or less away, and nearer than the word is long.
std::string UnknownCommand(const std::vector<Command>& table, const std::string& word) {
  const Command* nearest = nullptr;
  size_t nearest_distance = 3;
  for (const Command& command : table) {
    const size_t distance = tool::NameDistance(word, command.name);
    if (distance < nearest_distance && distance < word.size()) {
      nearest = &command;
      nearest_distance = distance;
    }
  }
  std::string text = "unknown command \"" + word + "\"";
  if (nearest != nullptr) text += std::string("; did you mean \"") + nearest->name + "\"?";
  return text;
}

// One command of the table as the parser holds it.
struct Parsed {
  const Command* command = nullptr;
  CLI::App* app = nullptr;
  CommandLine line;
  bool wants_help = false;
};

// Declares `command`'s options to the parser, each bound to its place in
// `parsed->line`. An option with a value given twice is refused after the
// parse (see RepeatedOption), so the parser itself may keep either value.
void Declare(CLI::App* tool, const Command& command, Parsed* parsed) {
  parsed->command = &command;
  parsed->app = tool->add_subcommand(command.name);
  parsed->app->set_help_flag();  // the command's own --help is ours, below
  for (const tool::CommandOption& option : command.options) {
    CLI::Option* declared = nullptr;
    if (option.repeatable) {
      // Takes one value each time it is given, and may be given again.
      declared = parsed->app->add_option(option.name, parsed->line.lists[option.name])
                     ->expected(1)
                     ->allow_extra_args(false)
                     ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    } else {
      std::string& value = parsed->line.values[option.name];
      value = option.value;
      declared = parsed->app->add_option(option.name, value)
                     ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    }
    if (!option.choices.empty()) declared->check(CLI::IsMember(option.choices));
  }
  parsed->app->add_flag("-h,--help", parsed->wants_help);
  parsed->app->add_option("operands", parsed->line.operands)->expected(0, -1);
}

// An option given more than once is refused rather than letting the last
// one win unseen; an option that takes every value given (calendar's
// --team) is meant to be repeated.
std::string RepeatedOption(const CLI::App& app) {
  for (const CLI::Option* option : app.get_options()) {
    if (option->get_positional() || option->count() <= 1) continue;
    if (option->get_multi_option_policy() == CLI::MultiOptionPolicy::TakeAll) continue;
    return "option " + option->get_name() + " is given " + std::to_string(option->count()) +
           " times";
  }
  return "";
}

// An option of `command` that the parser found with no value, named with the
// values it takes: "dump: --format needs a value: list, text or csv".
std::string MissingValue(const Command& command, const std::string& error) {
  for (const tool::CommandOption& option : command.options) {
    const std::string prefix = std::string(option.name) + ": ";
    if (error.rfind(prefix, 0) != 0 || error.find(" missing") == std::string::npos) continue;
    std::string text = std::string(command.name) + ": " + option.name + " needs a value";
    for (size_t i = 0; i < option.choices.size(); ++i) {
      text += i == 0 ? ": " : i + 1 == option.choices.size() ? " or " : ", ";
      text += option.choices[i];
    }
    return text;
  }
  return "";
}

// The words of a parse error, naming what was not understood.
std::string ParseErrorText(const CLI::ParseError& error, const Command* command) {
  std::string text = error.what();
  if (command != nullptr) {
    if (std::string missing = MissingValue(*command, text); !missing.empty()) return missing;
  }
  const std::string kExtras = "The following argument was not expected: ";
  const std::string kExtrasMany = "The following arguments were not expected: ";
  if (text.rfind(kExtras, 0) == 0) return "unknown option " + text.substr(kExtras.size());
  if (text.rfind(kExtrasMany, 0) == 0) return "unknown options " + text.substr(kExtrasMany.size());
  return text;
}

// `help [COMMAND]`: the tool's help, or the command's.
int Help(const std::vector<Command>& table, std::vector<std::string> words) {
  // "help --help" asks for the same thing twice.
  std::erase_if(words, [](const std::string& word) { return word == "--help" || word == "-h"; });
  if (words.empty()) {
    std::fputs((Synopsis(table) + Overview(table)).c_str(), stdout);
    return 0;
  }
  if (words.size() > 1) return UsageError(table, "help takes at most one COMMAND");
  const Command* command = FindCommand(table, words[0]);
  if (command == nullptr) return UsageError(table, UnknownCommand(table, words[0]));
  std::fputs(command->help, stdout);
  return 0;
}

int Run(const std::vector<std::string>& arguments) {
  const std::vector<Command> table = CommandTable();
  // "--" ends the options: what follows is file names, whatever it looks
  // like. The parser is given the words before it alone.
  std::vector<std::string> words = arguments;
  std::vector<std::string> after_options;
  for (size_t i = 1; i < words.size(); ++i) {
    if (words[i] != "--") continue;
    after_options.assign(words.begin() + static_cast<std::ptrdiff_t>(i) + 1, words.end());
    words.resize(i);
    break;
  }
  // The tool's own options take no value, so the first other word is the
  // command.
  const Command* named = nullptr;
  for (size_t i = 0; i < words.size(); ++i) {
    if (!words[i].empty() && words[i][0] == '-') continue;
    if (words[i] == "help") {
      std::vector<std::string> rest(words.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                    words.end());
      rest.insert(rest.end(), after_options.begin(), after_options.end());
      return Help(table, rest);
    }
    named = FindCommand(table, words[i]);
    if (named == nullptr) return UsageError(table, UnknownCommand(table, words[i]));
    break;
  }

  CLI::App tool{"schedule-tool"};
  tool.set_help_flag();
  bool wants_help = false, wants_version = false;
  tool.add_flag("-h,--help", wants_help);
  tool.add_flag("--version", wants_version);
  tool.require_subcommand(0, 1);
  // The parser keeps pointers into each command line: they stay put.
  std::vector<std::unique_ptr<Parsed>> commands;
  for (const Command& command : table) {
    commands.push_back(std::make_unique<Parsed>());
    Declare(&tool, command, commands.back().get());
  }
  try {
    // The parser takes the words last first.
    std::vector<std::string> reversed(words.rbegin(), words.rend());
    tool.parse(reversed);
  } catch (const CLI::ParseError& error) {
    // Help asked for anywhere wins over what else the line holds wrong.
    for (const auto& parsed : commands) {
      if (parsed->wants_help) {
        std::fputs(parsed->command->help, stdout);
        return 0;
      }
    }
    return UsageError(table, ParseErrorText(error, named));
  }

  for (const auto& parsed : commands) {
    if (!parsed->app->parsed()) continue;
    const Command& command = *parsed->command;
    CommandLine& line = parsed->line;
    line.operands.insert(line.operands.end(), after_options.begin(), after_options.end());
    for (const tool::CommandOption& option : command.options) {
      if (parsed->app->get_option(option.name)->count() != 0) line.given.insert(option.name);
    }
    if (parsed->wants_help) {
      std::fputs(command.help, stdout);
      return 0;
    }
    if (std::string repeated = RepeatedOption(*parsed->app); !repeated.empty()) {
      return UsageError(table, std::string(command.name) + ": " + repeated);
    }
    if (line.operands.size() != command.operands) return UsageError(table, command.operands_wrong);
    if (std::string twice = tool::StandardInputTwice(command, line); !twice.empty()) {
      tool::PrintFailure(twice);
      return kUsageError;
    }
    for (const std::string& refusal :
         {tool::EmptyFileName(command, line), tool::OutputIsInput(command, line)}) {
      if (refusal.empty()) continue;
      tool::PrintFailure(refusal);
      return 1;
    }
    return command.run(line);
  }
  if (wants_version) {
    std::printf("schedule-tool %s\n", ZELTO_VERSION);
    return 0;
  }
  if (wants_help) return Help(table, {});
  return UsageError(table, "no command given");
}

}  // namespace

int main(int argc, char** argv) {
  // Record numbers round to nearest, halves to even.
  std::fesetround(FE_TONEAREST);
  // A write past a file-size limit fails as a full disk, standard output
  // included, instead of ending the program without a word.
  files::IgnoreFileSizeSignal();
  // Dumps and imports go out byte for byte; names arrive as the file API
  // takes them.
  frame::UseBinaryStandardOutput();
  std::vector<std::string> arguments = frame::ProgramArguments(argc, argv);
  return Run(arguments);
}
