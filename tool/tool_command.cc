#include "tool/tool_command.h"

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

std::string StandardInputTwice(const Command& command, const CommandLine& line) {
  int standard = 0;
  std::string labels;
  for (size_t i = 0; i < command.inputs.size(); ++i) {
    const CommandInput& input = command.inputs[i];
    const std::string* name = nullptr;
    if (input.option != nullptr) {
      name = &line.Value(input.option);
    } else if (input.operand < line.operands.size()) {
      name = &line.operands[input.operand];
    }
    if (name != nullptr && *name == "-") ++standard;
    if (i > 0) labels += i + 1 == command.inputs.size() ? " and " : ", ";
    labels += input.label;
  }
  if (standard <= 1) return "";
  return std::string(command.name) + ": only one of " + labels + " can be standard input";
}

}  // namespace tool
