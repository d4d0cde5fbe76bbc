// schedule-builder: the interactive program. Arguments are ignored.
#include <memory>

#include "builder/process_frame.h"
#include "console/platform_console.h"
#include "files/file_replace.h"

int main() {
  // A write past a file-size limit fails as a full disk and is told.
  files::IgnoreFileSizeSignal();
  std::unique_ptr<console::ConsoleDevice> device = console::OpenPlatformConsole();
  int exit_code = builder::RunProcess(device.get());
  // The terminal is given back as it was found before the process ends.
  console::ClosePlatformConsole();
  return exit_code;
}
