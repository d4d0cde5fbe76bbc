# What both Windows cross builds share; each toolchain file names its target.
# The test programs run under Wine through scripts/wine-run.sh, which CTest
# calls as the emulator, with a Wine prefix of the build's own.
macro(zelto_mingw_toolchain arch)
  set(CMAKE_SYSTEM_NAME Windows)
  set(CMAKE_SYSTEM_PROCESSOR ${arch})
  set(triple ${arch}-w64-mingw32)

  set(CMAKE_C_COMPILER ${triple}-gcc-posix)
  set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
  set(CMAKE_RC_COMPILER ${triple}-windres)

  # Headers and libraries come from the mingw-w64 tree only, never from the
  # build machine's /usr/include or /usr/lib.
  set(CMAKE_FIND_ROOT_PATH /usr/${triple})
  set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
  set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
  set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
  set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

  # The C++ runtime and winpthread go into the .exe: no DLL to ship beside it.
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

  # CTest runs each .exe under Wine.
  get_filename_component(zelto_source_root ${CMAKE_CURRENT_LIST_DIR}/../.. ABSOLUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${zelto_source_root}/scripts/wine-run.sh --prefix ${CMAKE_BINARY_DIR}/wine-prefix)
endmacro()
