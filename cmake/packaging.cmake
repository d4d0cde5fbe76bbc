# Installing and packaging: the programs to bin, their manual pages to
# share/man/man1, the README and the usage example to share/doc. CPack makes
# a Debian package here and a zip when building for Windows.
include(GNUInstallDirs)

set(ZELTO_PACKAGE_NAME zelto-schedule-builder)
set(ZELTO_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/${ZELTO_PACKAGE_NAME})

# The interactive program needs a console layer; a build without one still
# packages the batch tool.
set(zelto_programs schedule-tool)
if(TARGET schedule-builder)
  list(APPEND zelto_programs schedule-builder)
endif()
install(TARGETS ${zelto_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Debian keeps manual pages compressed; where gzip is missing (Windows) they
# are installed as written.
set(zelto_man_sources
  ${PROJECT_SOURCE_DIR}/docs/schedule-builder.1
  ${PROJECT_SOURCE_DIR}/docs/schedule-tool.1
)
find_program(ZELTO_GZIP gzip)
if(ZELTO_GZIP AND NOT WIN32)
  set(zelto_man_pages)
  foreach(source ${zelto_man_sources})
    get_filename_component(page ${source} NAME)
    set(copy ${PROJECT_BINARY_DIR}/man/${page})
    add_custom_command(
      OUTPUT ${copy}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
      COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
      # -n leaves out the name and time, so the same page gives the same bytes.
      COMMAND ${ZELTO_GZIP} -9nf ${copy}
      DEPENDS ${source}
      VERBATIM)
    list(APPEND zelto_man_pages ${copy}.gz)
  endforeach()
  add_custom_target(man_pages ALL DEPENDS ${zelto_man_pages})
else()
  set(zelto_man_pages ${zelto_man_sources})
endif()
install(FILES ${zelto_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${ZELTO_DOC_DIR})
# The README links into docs/: the pages and pictures go beside it.
file(GLOB zelto_docs ${PROJECT_SOURCE_DIR}/docs/*.md ${PROJECT_SOURCE_DIR}/docs/*.png)
install(FILES ${zelto_docs} DESTINATION ${ZELTO_DOC_DIR}/docs)
install(FILES ${PROJECT_SOURCE_DIR}/examples/usage-example.txt DESTINATION ${ZELTO_DOC_DIR}/examples)

set(CPACK_PACKAGE_NAME ${ZELTO_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Zelto Schedule Builder team")
set(CPACK_PACKAGE_CONTACT "Zelto Schedule Builder team")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "turns season schedule texts into the game's schedule files (.SCH)")
set(CPACK_PACKAGE_DESCRIPTION
    "A console utility that turns a season schedule written by hand as a text file
into a schedule file of fixed 430-byte records (.SCH) that the game reads.
schedule-builder asks for the two file names in the terminal; schedule-tool
does the conversion from the command line, shows what a schedule file holds
and checks a schedule text before it is built.")
set(CPACK_STRIP_FILES TRUE)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zelto Schedule Builder team")
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The description's first line is the summary; the rest follows it.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "${CPACK_PACKAGE_DESCRIPTION_SUMMARY}\n${CPACK_PACKAGE_DESCRIPTION}")
  # dpkg-shlibdeps (from dpkg-dev) reads the libraries the programs link;
  # without it the dependencies of a g++ 12 build on Debian 12 are named.
  find_program(ZELTO_DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(ZELTO_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6 (>= 2.34), libgcc-s1 (>= 3.0), libstdc++6 (>= 12)")
  endif()
endif()

include(CPack)
