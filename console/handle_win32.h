// Windows handles as the console code meets them: a standard handle may be
// missing (null: a program started with no console or streams) or invalid.
// The console's Windows files take <windows.h> through here, lean and
// without the min and max macros.
#ifndef ZELTO_CONSOLE_HANDLE_WIN32_H_
#define ZELTO_CONSOLE_HANDLE_WIN32_H_

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace console {

/// True for a handle that names something: neither null nor invalid.
inline bool IsUsable(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

}  // namespace console

#endif  // ZELTO_CONSOLE_HANDLE_WIN32_H_
