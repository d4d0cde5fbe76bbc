# Cross build for Windows on x86_64 (mingw-w64, Debian's "posix" thread
# flavour, which GoogleTest needs for its threads). Linked statically, so the
# programs need nothing on a bare Windows machine beyond KERNEL32 and msvcrt.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
zelto_mingw_toolchain(x86_64)
