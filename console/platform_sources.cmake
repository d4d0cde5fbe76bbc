# The console's platform part on POSIX: the terminal device (a cell grid of
# our own shown through escape sequences, keys decoded from raw terminal
# bytes), the terminal session that gives the terminal back, and the stream
# device for runs without a terminal. The grid, the key decoder and the code
# page table are portable.
set(CONSOLE_PLATFORM_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/code_page_437.cc
  ${CMAKE_CURRENT_LIST_DIR}/key_decoder.cc
  ${CMAKE_CURRENT_LIST_DIR}/terminal_grid.cc
)
set(CONSOLE_PLATFORM_TESTS
  ${CMAKE_CURRENT_LIST_DIR}/code_page_437_test.cc
  ${CMAKE_CURRENT_LIST_DIR}/key_decoder_test.cc
  ${CMAKE_CURRENT_LIST_DIR}/terminal_grid_test.cc
)
if(ZELTO_PLATFORM STREQUAL "posix")
  list(APPEND CONSOLE_PLATFORM_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/fd_io_posix.cc
    ${CMAKE_CURRENT_LIST_DIR}/platform_console_posix.cc
    ${CMAKE_CURRENT_LIST_DIR}/stream_device_posix.cc
    ${CMAKE_CURRENT_LIST_DIR}/terminal_device_posix.cc
    ${CMAKE_CURRENT_LIST_DIR}/terminal_session_posix.cc
  )
  list(APPEND CONSOLE_PLATFORM_TESTS
    ${CMAKE_CURRENT_LIST_DIR}/stream_device_posix_test.cc
  )
endif()
