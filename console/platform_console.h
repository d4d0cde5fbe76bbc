// The process's console on this platform: the one place where start-up picks
// the device that console output and line input run on, and where the
// console is given back at the end. On POSIX that is the terminal (a cell grid
// of our own shown through escape sequences, keys read raw from the
// controlling terminal) or, with no terminal at all, a plain stream of lines
// on standard output and keys from standard input.
#ifndef ZELTO_CONSOLE_PLATFORM_CONSOLE_H_
#define ZELTO_CONSOLE_PLATFORM_CONSOLE_H_

#include <memory>
#include <string>
#include <string_view>

#include "console/console_device.h"

namespace console {

/// Opens the console device for the whole run. On a terminal it also puts
/// the keyboard into raw mode and arranges for the terminal to be given
/// back at exit and on the terminating signals. Call it once, before
/// anything is printed; never fails (with no console at all the device
/// writes to standard output and reads standard input).
std::unique_ptr<ConsoleDevice> OpenPlatformConsole();

/// Gives the console back as it was found (keyboard mode, autowrap, cursor,
/// colours) and sends out any text still held. Safe to call more than once;
/// it also runs by itself at exit.
void ClosePlatformConsole();

/// The name under which the file system knows a file name typed at the
/// console: code page 437 text becomes UTF-8 on a terminal (a typed e-acute
/// is the byte 0x82); in stream mode the bytes came in unchanged and stay so.
std::string NameForFileSystem(std::string_view console_text);

}  // namespace console

#endif  // ZELTO_CONSOLE_PLATFORM_CONSOLE_H_
