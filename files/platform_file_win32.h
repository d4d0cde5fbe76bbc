// Windows-only pieces of the platform file layer that tests look at directly.
#ifndef ZELTO_FILES_PLATFORM_FILE_WIN32_H_
#define ZELTO_FILES_PLATFORM_FILE_WIN32_H_

#include <cstdint>

namespace files {

/// The run-time error code for a Windows last-error value (0 for 0).
int CodeForLastError(uint32_t last_error);

}  // namespace files

#endif  // ZELTO_FILES_PLATFORM_FILE_WIN32_H_
