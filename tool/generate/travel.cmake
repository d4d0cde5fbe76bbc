# generate's travel search: the season's series ordered by where the teams
# play. Part of zelto_generate; its two chains run on two threads.
find_package(Threads REQUIRED)
target_sources(zelto_generate PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/travel_anneal.cc
  ${CMAKE_CURRENT_LIST_DIR}/travel_count.cc
  ${CMAKE_CURRENT_LIST_DIR}/travel_moves.cc
  ${CMAKE_CURRENT_LIST_DIR}/travel_search.cc
  ${CMAKE_CURRENT_LIST_DIR}/travel_state.cc
)
target_link_libraries(zelto_generate PUBLIC Threads::Threads)

# Its changes on their own, and the distances file's reader (tool/season),
# whose only reader is generate so far.
if(ZELTO_TESTS)
  target_sources(generate_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/travel_moves_test.cc
    ${CMAKE_CURRENT_LIST_DIR}/../season/distance_table_test.cc
  )
endif()
