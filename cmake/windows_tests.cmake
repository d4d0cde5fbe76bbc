# The checks of a Windows cross build beyond its unit tests, each a CTest
# test labelled `windows`: the read-only checks again as the user nobody, both
# programs against the Linux build (the native preset's folder, which the
# end-to-end test programs come from: they are not built again here), and the
# release zip. Every program runs under Wine in the presets' one prefix,
# started before the first of them and stopped after the last.
set(ZELTO_LINUX_BUILD ${PROJECT_SOURCE_DIR}/build CACHE PATH
    "The Linux build whose end-to-end test programs check this Windows build")
set(zelto_wine_run ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh)
set(zelto_checks ${PROJECT_SOURCE_DIR}/scripts/checks)
# wine-run.sh and the checks exit with these when Wine, root or the Linux
# build is missing: the test is skipped, saying which.
set(zelto_wine_missing 125)
set(zelto_cannot_run_here 77)

add_test(NAME wine_prefix_start COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} --start)
add_test(NAME wine_prefix_stop COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} --stop)
set_tests_properties(wine_prefix_start PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(wine_prefix_stop PROPERTIES FIXTURES_CLEANUP wine)
set_tests_properties(wine_prefix_start wine_prefix_stop PROPERTIES
                     SKIP_RETURN_CODE ${zelto_wine_missing})

# Wine run by root writes read-only files all the same, so the read-only
# checks skip themselves there; as nobody they run. A run that skipped or
# matched no test is no pass.
set(nobody ${zelto_checks}/wine-as-nobody.sh)
add_test(NAME wine_nobody_start COMMAND ${nobody} --start)
add_test(NAME wine_nobody_stop COMMAND ${nobody} --stop)
set_tests_properties(wine_nobody_start PROPERTIES FIXTURES_SETUP wine_nobody)
set_tests_properties(wine_nobody_stop PROPERTIES FIXTURES_CLEANUP wine_nobody)
set(nobody_tests wine_nobody_start wine_nobody_stop)
foreach(program files_tests schedule_tests)
  add_test(NAME ${program}_read_only_as_nobody
           COMMAND ${nobody} $<TARGET_FILE:${program}> --gtest_filter=*ReadOnly* --gtest_brief=1)
  set_tests_properties(${program}_read_only_as_nobody PROPERTIES
                       FIXTURES_REQUIRED wine_nobody
                       FAIL_REGULAR_EXPRESSION "\\[  SKIPPED \\];\\[  PASSED  \\] 0 tests")
  list(APPEND nobody_tests ${program}_read_only_as_nobody)
endforeach()
set_tests_properties(${nobody_tests} PROPERTIES LABELS nobody
                     SKIP_RETURN_CODE ${zelto_cannot_run_here})

# Both programs against the Linux build: schedule files, dumps, reports,
# imports and calendars byte for byte, messages and exit statuses
# (e2e/programs_compared_test.cc), and schedule-builder.exe typed at in tmux,
# each dialogue scenario as on Linux (e2e/dialogue_test.cc).
set(against_linux ${zelto_checks}/against-linux.sh)
add_test(NAME programs_compared_with_linux
         COMMAND ${against_linux} ${ZELTO_LINUX_BUILD}/e2e/compared_tests
                 --gtest_filter=*/windows --gtest_brief=1)
set_tests_properties(programs_compared_with_linux PROPERTIES
                     ENVIRONMENT "ZELTO_WINDOWS_BUILD=${PROJECT_BINARY_DIR}")
add_test(NAME dialogue_under_wine
         COMMAND ${against_linux} ${ZELTO_LINUX_BUILD}/e2e/terminal_tests
                 --gtest_filter=*/wine --gtest_brief=1)
set_tests_properties(dialogue_under_wine PROPERTIES
                     ENVIRONMENT "ZELTO_WINDOWS_SCHEDULE_BUILDER=$<TARGET_FILE:schedule-builder>")
set_tests_properties(programs_compared_with_linux dialogue_under_wine PROPERTIES
                     LABELS e2e FIXTURES_REQUIRED wine TIMEOUT 900
                     SKIP_RETURN_CODE ${zelto_cannot_run_here}
                     FAIL_REGULAR_EXPRESSION "\\[  PASSED  \\] 0 tests")
set_property(TEST programs_compared_with_linux dialogue_under_wine APPEND PROPERTY
             ENVIRONMENT "WINEPREFIX=${ZELTO_WINE_PREFIX}")

# The release zip of this build: both programs and the README.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(zip_target win64)
else()
  set(zip_target win32)
endif()
add_test(NAME release_zip_contents
         COMMAND ${zelto_checks}/release-zip.sh ${zip_target} ${PROJECT_BINARY_DIR})
set_tests_properties(release_zip_contents PROPERTIES LABELS package
                     SKIP_RETURN_CODE ${zelto_cannot_run_here})
