# The interactive program: start-up, the dialogue and exit.
add_library(zelto_dialogue STATIC
  ${PROJECT_SOURCE_DIR}/schedule/console_dialogue.cc
  ${CMAKE_CURRENT_LIST_DIR}/process_frame.cc
)
target_include_directories(zelto_dialogue PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(zelto_dialogue PUBLIC zelto_schedule zelto_console_platform)

add_executable(schedule-builder ${CMAKE_CURRENT_LIST_DIR}/schedule_builder_main.cc)
target_link_libraries(schedule-builder PRIVATE zelto_dialogue)
set_target_properties(schedule-builder PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})

if(ZELTO_TESTS)
  zelto_add_test(program_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/process_frame_test.cc
    LIBRARIES zelto_dialogue)
  # The real program in a real terminal (tmux) and with no terminal at all.
  if(NOT WIN32)
    zelto_add_test(terminal_tests
      SOURCES ${CMAKE_CURRENT_LIST_DIR}/terminal_test.cc
      LIBRARIES zelto_dialogue)
    target_compile_definitions(terminal_tests PRIVATE
      ZELTO_SCHEDULE_BUILDER="$<TARGET_FILE:schedule-builder>")
    add_dependencies(terminal_tests schedule-builder)
  endif()
  # The Windows program under Wine in tmux, checked against the in-memory
  # console and this build's schedule-builder; built on Linux when the
  # Windows .exe is named (scripts/test-windows.sh does so) and run
  # by that script, not by CTest.
  set(ZELTO_WINDOWS_SCHEDULE_BUILDER "" CACHE FILEPATH
      "schedule-builder.exe for the end-to-end test under Wine")
  if(NOT WIN32 AND ZELTO_WINDOWS_SCHEDULE_BUILDER)
    add_executable(wine_terminal_tests ${CMAKE_CURRENT_LIST_DIR}/wine_terminal_test.cc)
    target_link_libraries(wine_terminal_tests PRIVATE
      zelto_dialogue GTest::gtest GTest::gtest_main)
    target_compile_definitions(wine_terminal_tests PRIVATE
      ZELTO_SCHEDULE_BUILDER="$<TARGET_FILE:schedule-builder>"
      ZELTO_WINDOWS_SCHEDULE_BUILDER="${ZELTO_WINDOWS_SCHEDULE_BUILDER}"
      ZELTO_USAGE_EXAMPLE="${PROJECT_SOURCE_DIR}/examples/usage-example.txt")
    add_dependencies(wine_terminal_tests schedule-builder)
  endif()
endif()

# The fuzzers' checks and the replay of their corpus (the fuzz targets
# themselves are built by scripts/fuzz.sh); and the real programs under
# injected faults: full disks, vanishing input, signals, tiny terminals.
if(NOT WIN32)
  include(${PROJECT_SOURCE_DIR}/fuzz/checks.cmake)
  if(ZELTO_TESTS)
    zelto_add_test(reliability_tests
      SOURCES ${CMAKE_CURRENT_LIST_DIR}/reliability_test.cc
      LIBRARIES zelto_dialogue)
    target_compile_definitions(reliability_tests PRIVATE
      ZELTO_SCHEDULE_TOOL="$<TARGET_FILE:schedule-tool>"
      ZELTO_SCHEDULE_BUILDER="$<TARGET_FILE:schedule-builder>")
    add_dependencies(reliability_tests schedule-tool schedule-builder)
  endif()
endif()
