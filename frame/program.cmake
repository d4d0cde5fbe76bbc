# The interactive program: start-up, the dialogue and exit. Built once the
# console is there.
if(TARGET zelto_console_platform)
  add_library(zelto_dialogue STATIC
    ${PROJECT_SOURCE_DIR}/schedule/console_dialogue.cc
    ${CMAKE_CURRENT_LIST_DIR}/process_frame.cc
  )
  target_include_directories(zelto_dialogue PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(zelto_dialogue PUBLIC zelto_schedule zelto_console_platform)

  add_executable(schedule-builder ${CMAKE_CURRENT_LIST_DIR}/schedule_builder_main.cc)
  target_link_libraries(schedule-builder PRIVATE zelto_dialogue)
  set_target_properties(schedule-builder PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
endif()

if(TARGET zelto_console_platform AND ZELTO_TESTS)
  add_executable(program_tests ${CMAKE_CURRENT_LIST_DIR}/process_frame_test.cc)
  target_link_libraries(program_tests PRIVATE zelto_dialogue GTest::gtest GTest::gtest_main)
  add_test(NAME program_tests COMMAND program_tests)
endif()

# The real program in a real terminal (tmux) and with no terminal at all.
if(TARGET zelto_console_platform AND ZELTO_TESTS AND NOT WIN32)
  add_executable(terminal_tests ${CMAKE_CURRENT_LIST_DIR}/terminal_test.cc)
  target_link_libraries(terminal_tests PRIVATE zelto_dialogue GTest::gtest GTest::gtest_main)
  target_compile_definitions(terminal_tests PRIVATE
    ZELTO_SCHEDULE_BUILDER="$<TARGET_FILE:schedule-builder>")
  add_dependencies(terminal_tests schedule-builder)
  add_test(NAME terminal_tests COMMAND terminal_tests)
endif()
