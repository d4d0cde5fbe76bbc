# What several commands read about a league's season beside its teams: the
# distances between the parks (generate now, report later). Part of
# zelto_tool, so that any command may read it.
target_sources(zelto_tool PRIVATE ${CMAKE_CURRENT_LIST_DIR}/distance_table.cc)
