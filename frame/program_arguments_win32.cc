// The command line on Windows.
//
// The C runtime's argv is the command line converted to the ANSI code page
// with best fit: a character the code page lacks becomes a look-alike, so
// "Łodz.txt" arrives as "Lodz.txt" and names another file, one that may
// exist (read in place of the one named) or be overwritten. The arguments
// are taken from the UTF-16 command line instead and converted without best
// fit: a character with no equivalent becomes '?', which no file name may
// hold, and the file API refuses the name as a bad file name.
//
// Standard output starts in text mode, where every LF written becomes CR LF:
// text that already ends its lines with CR LF would come out as CR CR LF.
#include "frame/program_arguments.h"

#include <fcntl.h>
#include <io.h>
#include <stdio.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <shellapi.h>

#include "frame/file_api_text_win32.h"

namespace frame {
namespace {

// One UTF-16 argument in the code page the file API reads names in; one the
// system cannot convert is all '?', a name no file may have.
std::string FileApiBytes(const wchar_t* wide) {
  std::wstring_view argument(wide);
  std::string bytes;
  if (!WideToFileApiText(argument, &bytes)) bytes.assign(argument.size(), '?');
  return bytes;
}

}  // namespace

void UseBinaryStandardOutput() {
  fflush(stdout);
  _setmode(_fileno(stdout), _O_BINARY);
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) {
    // No UTF-16 command line to be had: the runtime's argv it is.
    if (argc <= 1) return {};
    return std::vector<std::string>(argv + 1, argv + argc);
  }
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(FileApiBytes(wide[i]));
  LocalFree(wide);
  return arguments;
}

}  // namespace frame
