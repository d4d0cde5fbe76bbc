# The fuzzers' checks, built in every build: the fuzz targets call them, and
# an ordinary test replays the fuzzers' corpus through them.
add_library(zelto_fuzz_checks STATIC
  ${PROJECT_SOURCE_DIR}/fuzz/console_fuzz_check.cc
  ${PROJECT_SOURCE_DIR}/fuzz/schedule_fuzz_check.cc
)
target_include_directories(zelto_fuzz_checks PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(zelto_fuzz_checks PUBLIC zelto_tool zelto_console)

if(ZELTO_TESTS)
  zelto_add_test(fuzz_replay_tests
    SOURCES ${PROJECT_SOURCE_DIR}/fuzz/fuzz_replay_test.cc
    LIBRARIES zelto_fuzz_checks)
  target_compile_definitions(fuzz_replay_tests PRIVATE
    ZELTO_FUZZ_CORPUS="${PROJECT_SOURCE_DIR}/fuzz/corpus")
endif()
