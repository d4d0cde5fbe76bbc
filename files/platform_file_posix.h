// POSIX-only pieces of the platform file layer that tests look at directly.
#ifndef ZELTO_FILES_PLATFORM_FILE_POSIX_H_
#define ZELTO_FILES_PLATFORM_FILE_POSIX_H_

namespace files {

/// The run-time error code for an errno value, by like meaning.
int CodeForErrno(int error_number);

}  // namespace files

#endif  // ZELTO_FILES_PLATFORM_FILE_POSIX_H_
