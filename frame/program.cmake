# The interactive program: start-up, the dialogue and exit.
add_library(zelto_program STATIC ${CMAKE_CURRENT_LIST_DIR}/process_frame.cc)
target_include_directories(zelto_program PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(zelto_program PUBLIC zelto_dialogue)

add_executable(schedule-builder ${CMAKE_CURRENT_LIST_DIR}/schedule_builder_main.cc)
target_link_libraries(schedule-builder PRIVATE zelto_program)
set_target_properties(schedule-builder PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})

if(ZELTO_TESTS)
  set(program_test_sources ${CMAKE_CURRENT_LIST_DIR}/process_frame_test.cc)
  if(NOT WIN32)
    list(APPEND program_test_sources ${CMAKE_CURRENT_LIST_DIR}/fatal_signals_posix_test.cc)
  endif()
  zelto_add_test(program_tests
    SOURCES ${program_test_sources}
    LIBRARIES zelto_program)
  # The real program in a real terminal (tmux) and with no terminal at all.
  if(NOT WIN32)
    zelto_add_test(terminal_tests
      SOURCES ${CMAKE_CURRENT_LIST_DIR}/terminal_test.cc
      LIBRARIES zelto_program)
    # A stop only stops a program that a job-control shell started: the
    # tests start it the same way, through foreground-job.
    add_executable(foreground-job ${PROJECT_SOURCE_DIR}/testing/foreground_job_main.cc)
    target_compile_definitions(terminal_tests PRIVATE
      ZELTO_SCHEDULE_BUILDER="$<TARGET_FILE:schedule-builder>"
      ZELTO_FOREGROUND_JOB="$<TARGET_FILE:foreground-job>"
      ZELTO_SCREENS_DIR="${CMAKE_CURRENT_LIST_DIR}/screens")
    add_dependencies(terminal_tests schedule-builder foreground-job)
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
      zelto_program GTest::gtest GTest::gtest_main)
    target_compile_definitions(wine_terminal_tests PRIVATE
      ZELTO_SCHEDULE_BUILDER="$<TARGET_FILE:schedule-builder>"
      ZELTO_WINDOWS_SCHEDULE_BUILDER="${ZELTO_WINDOWS_SCHEDULE_BUILDER}"
      ZELTO_USAGE_EXAMPLE="${PROJECT_SOURCE_DIR}/examples/usage-example.txt")
    add_dependencies(wine_terminal_tests schedule-builder)
  endif()
endif()

# The real programs under injected faults: full disks, vanishing input,
# signals, tiny terminals.
if(NOT WIN32)
  if(ZELTO_TESTS)
    zelto_add_test(reliability_tests
      SOURCES ${CMAKE_CURRENT_LIST_DIR}/reliability_test.cc
      LIBRARIES zelto_program)
    target_compile_definitions(reliability_tests PRIVATE
      ZELTO_SCHEDULE_TOOL="$<TARGET_FILE:schedule-tool>"
      ZELTO_SCHEDULE_BUILDER="$<TARGET_FILE:schedule-builder>")
    add_dependencies(reliability_tests schedule-tool schedule-builder)
  endif()
endif()
