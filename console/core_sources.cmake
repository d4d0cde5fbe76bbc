# The portable console: console state, output, key records, line input, and
# the in-memory device that the tests (and other subsystems' tests) run on.
set(CONSOLE_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/console_state.cc
  ${CMAKE_CURRENT_LIST_DIR}/console_output.cc
  ${CMAKE_CURRENT_LIST_DIR}/key_records.cc
  ${CMAKE_CURRENT_LIST_DIR}/line_input.cc
  ${CMAKE_CURRENT_LIST_DIR}/memory_console_device.cc
)
set(CONSOLE_CORE_TESTS
  ${CMAKE_CURRENT_LIST_DIR}/console_output_test.cc
  ${CMAKE_CURRENT_LIST_DIR}/key_records_test.cc
  ${CMAKE_CURRENT_LIST_DIR}/line_input_test.cc
)
