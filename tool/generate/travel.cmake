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
