# schedule-tool import: a season file (one game per row) as schedule text.
# The team list is turned into a C++ table by the build, with a CMake script
# so that cross builds need no program of their own: a newer list is one
# file to replace (teams/retrosheet-teams.csv).
set(zelto_import_dir ${CMAKE_CURRENT_LIST_DIR})
set(zelto_team_list ${zelto_import_dir}/teams/retrosheet-teams.csv)
set(zelto_team_table ${CMAKE_CURRENT_BINARY_DIR}/team_list_table.cc)
add_custom_command(
  OUTPUT ${zelto_team_table}
  COMMAND ${CMAKE_COMMAND} -DTEAM_LIST=${zelto_team_list} -DTABLE=${zelto_team_table}
          -P ${zelto_import_dir}/team_list_table.cmake
  DEPENDS ${zelto_team_list} ${zelto_import_dir}/team_list_table.cmake
  COMMENT "Making the team table from teams/retrosheet-teams.csv"
  VERBATIM)

add_library(zelto_import STATIC
  ${zelto_import_dir}/import_rows.cc
  ${zelto_import_dir}/import_season.cc
  ${zelto_import_dir}/import_team_map.cc
  ${zelto_import_dir}/team_list.cc
  ${zelto_team_table}
)
target_link_libraries(zelto_import PUBLIC zelto_schedule)

if(ZELTO_TESTS)
  zelto_add_test(import_tests
    SOURCES ${zelto_import_dir}/import_rows_test.cc ${zelto_import_dir}/import_season_test.cc
            ${zelto_import_dir}/import_team_map_test.cc ${zelto_import_dir}/team_list_test.cc
    LIBRARIES zelto_import zelto_tool)
  target_compile_definitions(import_tests PRIVATE
    ZELTO_SEASON_1884="${PROJECT_SOURCE_DIR}/tool/seasons/1884SKED.TXT"
    ZELTO_TEAM_LIST="${zelto_team_list}")
endif()

if(ZELTO_TESTS)
  # The table script itself, on lists it must take and lists it must refuse.
  add_test(NAME import_team_table_test
           COMMAND ${CMAKE_COMMAND} -DSCRIPT=${zelto_import_dir}/team_list_table.cmake
                   -DWORK=${CMAKE_CURRENT_BINARY_DIR}/team_list_table_test
                   -P ${zelto_import_dir}/team_list_table_test.cmake)
endif()
