# schedule-tool generate: a balanced season for a league, in series, on a
# calendar. Its parts are pure functions of the league and the rules, tested
# on the text they write.
set(zelto_generate_dir ${CMAKE_CURRENT_LIST_DIR})
add_library(zelto_generate STATIC
  ${zelto_generate_dir}/generate_calendar.cc
  ${zelto_generate_dir}/generate_command.cc
  ${zelto_generate_dir}/generate_home_away.cc
  ${zelto_generate_dir}/generate_rounds.cc
  ${zelto_generate_dir}/generate_season.cc
  ${zelto_generate_dir}/generate_summary.cc
  ${zelto_generate_dir}/generate_teams.cc
  ${zelto_generate_dir}/generate_text.cc
)
target_link_libraries(zelto_generate PUBLIC zelto_tool zelto_import)
target_link_libraries(schedule-tool PRIVATE zelto_generate)

if(ZELTO_TESTS)
  set(generate_tool_tests)
  if(ZELTO_PLATFORM STREQUAL "posix")
    set(generate_tool_tests ${zelto_generate_dir}/generate_tool_test.cc)
  endif()
  zelto_add_test(generate_tests
    SOURCES ${zelto_generate_dir}/generate_calendar_test.cc
            ${zelto_generate_dir}/generate_teams_test.cc
            ${zelto_generate_dir}/generate_season_test.cc
            ${generate_tool_tests}
    LIBRARIES zelto_generate)
  target_compile_definitions(generate_tests PRIVATE
    ZELTO_SCHEDULE_TOOL="$<TARGET_FILE:schedule-tool>"
    ZELTO_TTP_DIR="${zelto_generate_dir}/generate/ttp")
  add_dependencies(generate_tests schedule-tool)
endif()

include(${zelto_generate_dir}/generate/travel.cmake)
