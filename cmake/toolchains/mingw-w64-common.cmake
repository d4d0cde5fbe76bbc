# What both Windows cross builds share; each toolchain file names its target.
# The test programs run under Wine through scripts/wine-run.sh, which CTest
# calls as the emulator.
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

  # CTest runs each .exe under Wine, in the prefix ZELTO_WINE_PREFIX (the
  # presets give both Windows builds one: a 64-bit prefix runs both, and it
  # is set up once).
  get_filename_component(zelto_source_root ${CMAKE_CURRENT_LIST_DIR}/../.. ABSOLUTE)
  if(NOT DEFINED ZELTO_WINE_PREFIX)
    set(ZELTO_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
  endif()
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${zelto_source_root}/scripts/wine-run.sh --prefix ${ZELTO_WINE_PREFIX})
endmacro()
