// One command of schedule-tool as its room gives it to the command table:
// its name, its words in the tool's help, its own help, its options, the
// inputs it reads and its run. The table (tool_main.cc) reads every command
// line one way with these, so that a room never sees the parser, and adding
// a command is its room and one line of the table.
#ifndef ZELTO_TOOL_TOOL_COMMAND_H_
#define ZELTO_TOOL_TOOL_COMMAND_H_

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tool {

/// An option of a command that takes a value.
struct CommandOption {
  const char* name = "";           ///< "--format"
  const char* value = "";          ///< its value when not given
  std::vector<std::string> choices;  ///< the values it takes; empty: any
  bool repeatable = false;         ///< every value kept, in order (calendar's --team)
};

/// An input a command reads: an operand (by position) or an option's value.
/// Standard input ("-") can be read once, so at most one of them names it.
struct CommandInput {
  const char* label = "";         ///< as the refusal names it: "SEASON", "--teams"
  const char* option = nullptr;   ///< the option, or nullptr for an operand
  size_t operand = 0;             ///< the operand's position, when no option
};

/// An option with one value: `value` when not given, one of `choices` when
/// there are any.
inline CommandOption ValueOption(const char* name, const char* value = "",
                                 std::vector<std::string> choices = {}) {
  return CommandOption{name, value, std::move(choices), false};
}

/// An option given once for each value, every value kept.
inline CommandOption RepeatableOption(const char* name) {
  return CommandOption{name, "", {}, true};
}

/// The input the command's operand `operand` names.
inline CommandInput OperandInput(const char* label, size_t operand = 0) {
  return CommandInput{label, nullptr, operand};
}

/// The input option `option` names.
inline CommandInput OptionInput(const char* option) { return CommandInput{option, option, 0}; }

/// A command line as the table read it for one command.
struct CommandLine {
  std::vector<std::string> operands;
  std::map<std::string, std::string, std::less<>> values;  ///< each option's value
  std::map<std::string, std::vector<std::string>, std::less<>> lists;  ///< repeatable ones
  std::set<std::string, std::less<>> given;  ///< the options the line gives, by name

  /// The value of option `name` (its default when not given).
  const std::string& Value(std::string_view name) const;
  /// Every value given to repeatable option `name`, in order.
  const std::vector<std::string>& Values(std::string_view name) const;
};

/// A command of the table.
struct Command {
  const char* name = "";
  /// Its lines of the tool's synopsis, each after "schedule-tool ".
  std::vector<const char*> synopsis;
  /// Its paragraph of the tool's --help, lines after the first indented.
  const char* summary = "";
  const char* help = "";  ///< its --help
  std::vector<CommandOption> options;
  std::vector<CommandInput> inputs;
  /// The files it writes, named as its inputs are.
  std::vector<CommandInput> outputs;
  size_t operands = 1;               ///< the number of file names it takes
  const char* operands_wrong = "";   ///< the usage error when not that many
  int (*run)(const CommandLine& line) = nullptr;
};

/// The refusal of a command line that names standard input for more than
/// one of `command`'s inputs, or empty. Said before anything is read: the
/// second reader would find the first one's bytes gone.
std::string StandardInputTwice(const Command& command, const CommandLine& line);

/// The refusal of a command line whose output names a file that is also one
/// of its inputs (by another name or link too), or empty. Said before
/// anything is opened, so that the input keeps its bytes and the clash is
/// named as such.
std::string OutputIsInput(const Command& command, const CommandLine& line);

/// The refusal of a file option given an empty name, or empty: `--output ''`
/// would otherwise be taken for no --output at all and `--teams ''` for no
/// teams file, where an empty operand is refused as a bad file name. Said
/// with the words a file of that name would get, before anything is read or
/// written.
std::string EmptyFileName(const Command& command, const CommandLine& line);

}  // namespace tool

#endif  // ZELTO_TOOL_TOOL_COMMAND_H_
