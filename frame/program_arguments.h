// The command line as the programs take it: the arguments in the bytes the
// file API reads names in, and standard output that carries bytes as they
// are written. On POSIX both are what the process was given; on Windows the
// C runtime would otherwise change both on the way.
#ifndef ZELTO_FRAME_PROGRAM_ARGUMENTS_H_
#define ZELTO_FRAME_PROGRAM_ARGUMENTS_H_

#include <string>
#include <vector>

namespace frame {

/// Makes standard output carry bytes unchanged (binary mode on Windows; nothing on POSIX).
void UseBinaryStandardOutput();

/// The program's arguments after the program name, as the file API takes them: on Windows
/// read as UTF-16 (GetCommandLineW, CommandLineToArgvW) and converted to the ANSI code page
/// with no best-fit look-alikes (WC_NO_BEST_FIT_CHARS); a character the code page lacks
/// becomes '?', so a name holding it is refused as a bad file name. On POSIX argv as given.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace frame

#endif  // ZELTO_FRAME_PROGRAM_ARGUMENTS_H_
