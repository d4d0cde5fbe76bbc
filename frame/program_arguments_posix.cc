// The command line on POSIX: names are bytes, passed on as given, and
// standard output has no text mode.
#include "frame/program_arguments.h"

namespace frame {

void UseBinaryStandardOutput() {}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  if (argc <= 1) return {};
  return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace frame
