#include "tool/tool_command.h"

#include <algorithm>

#include "files/file_access.h"
#include "schedule/shown_text.h"

namespace tool {

const std::string& CommandLine::Value(std::string_view name) const {
  static const std::string kNone;
  const auto found = values.find(name);
  return found == values.end() ? kNone : found->second;
}

const std::vector<std::string>& CommandLine::Values(std::string_view name) const {
  static const std::vector<std::string> kNone;
  const auto found = lists.find(name);
  return found == lists.end() ? kNone : found->second;
}

namespace {

// The name the command line gives `input`, or nullptr.
const std::string* NameOf(const CommandInput& input, const CommandLine& line) {
  if (input.option != nullptr) return &line.Value(input.option);
  if (input.operand < line.operands.size()) return &line.operands[input.operand];
  return nullptr;
}

}  // namespace

std::string OutputIsInput(const Command& command, const CommandLine& line) {
  for (const CommandInput& output : command.outputs) {
    const std::string* written = NameOf(output, line);
    if (written == nullptr || written->empty() || *written == "-") continue;
    for (const CommandInput& input : command.inputs) {
      const std::string* read = NameOf(input, line);
      if (read == nullptr || read->empty() || *read == "-") continue;
      if (!files::NamesSameFile(*written, *read)) continue;
      return "Cannot write " + std::string(output.label) + " " + schedule::Quoted(*written) +
             ": it is " + input.label + " too, which keeps its bytes";
    }
  }
  return "";
}

std::string EmptyFileName(const Command& command, const CommandLine& line) {
  auto names = [](const std::vector<CommandInput>& files, std::string_view option) {
    return std::any_of(files.begin(), files.end(), [&](const CommandInput& file) {
      return file.option != nullptr && option == file.option;
    });
  };
  for (const CommandOption& option : command.options) {
    const bool output = names(command.outputs, option.name);
    if (!output && !names(command.inputs, option.name)) continue;
    if (!line.given.contains(option.name) || !line.Value(option.name).empty()) continue;
    return std::string(output ? "Cannot write file" : "Cannot open file") + " \"\" (" +
           option.name + "): Bad file name";
  }
  return "";
}

std::string StandardInputTwice(const Command& command, const CommandLine& line) {
  int standard = 0;
  std::string labels;
  for (size_t i = 0; i < command.inputs.size(); ++i) {
    const CommandInput& input = command.inputs[i];
    const std::string* name = NameOf(input, line);
    if (name != nullptr && *name == "-") ++standard;
    if (i > 0) labels += i + 1 == command.inputs.size() ? " and " : ", ";
    labels += input.label;
  }
  if (standard <= 1) return "";
  return std::string(command.name) + ": only one of " + labels + " can be standard input";
}

}  // namespace tool
