# The Debian package as a user meets it, each step a CTest test labelled
# `package`: CPack makes it of this build's programs, apt-get installs it,
# the installed programs run and their manual pages are found, and apt-get
# removes it again, leaving nothing behind. The steps that install and remove
# run only where asked for (ctest --preset package, which the native preset's
# own tests leave out) and as root; elsewhere they are skipped, saying so.
enable_testing()
set(check ${PROJECT_SOURCE_DIR}/scripts/checks/debian-package.sh)
set(deb_dir ${PROJECT_BINARY_DIR}/deb)

add_test(NAME package_made
         COMMAND ${check} make ${deb_dir} ${CMAKE_CPACK_COMMAND} ${PROJECT_BINARY_DIR}/CPackConfig.cmake)
add_test(NAME package_installs COMMAND ${check} install ${deb_dir})
add_test(NAME package_installed_programs_run COMMAND ${check} run ${deb_dir})
add_test(NAME package_manual_pages_found COMMAND ${check} manuals ${deb_dir})
add_test(NAME package_removes_cleanly COMMAND ${check} remove ${deb_dir})

set_tests_properties(package_made PROPERTIES FIXTURES_SETUP deb)
set_tests_properties(package_installs PROPERTIES FIXTURES_SETUP installed FIXTURES_REQUIRED deb)
set_tests_properties(package_installed_programs_run package_manual_pages_found PROPERTIES
                     FIXTURES_REQUIRED "deb;installed")
set_tests_properties(package_removes_cleanly PROPERTIES FIXTURES_CLEANUP installed)
# apt-get and dpkg take one lock: the steps run one at a time.
set_tests_properties(package_made package_installs package_installed_programs_run
                     package_manual_pages_found package_removes_cleanly PROPERTIES
                     LABELS package SKIP_RETURN_CODE 77 RUN_SERIAL ON)
