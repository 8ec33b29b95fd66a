# The release in dist/ (scripts/release.sh) as a Windows user gets it. release_unpack checks the
# checksums and unpacks both zips and the installer into release-check/; release_package checks
# what they hold and runs the installer silently. Both run when TARNEL_DIST names the release
# folder (scripts/test.sh sets it) and are skipped otherwise.
set(_release_check "${CMAKE_BINARY_DIR}/release-check")
add_test(NAME e2e.release_unpack
         COMMAND ${CMAKE_COMMAND} -DVERSION=${PROJECT_VERSION} -DOUT=${_release_check}
                 -P ${CMAKE_CURRENT_LIST_DIR}/release_unpack.cmake)
set_tests_properties(e2e.release_unpack PROPERTIES FIXTURES_SETUP release
                     SKIP_REGULAR_EXPRESSION "release check skipped")
set(_release_check_dir "Z:${_release_check}")
string(REPLACE "/" "\\\\" _release_check_dir "${_release_check_dir}")
tarnel_e2e_test(release_package ${CMAKE_CURRENT_LIST_DIR}/ReleaseTest.cpp
                ${CMAKE_CURRENT_LIST_DIR}/ProgramFile.cpp)
target_compile_definitions(release_package PRIVATE "RELEASE_CHECK_DIR=\"${_release_check_dir}\""
                           "TARNEL_MANIFEST=\"${_tarnel_manifest}\"")
target_include_directories(release_package PRIVATE ${CMAKE_SOURCE_DIR}/src/skin/data)
target_link_libraries(release_package PRIVATE version shell32 ole32 uuid advapi32)
set_tests_properties(e2e.release_package PROPERTIES FIXTURES_REQUIRED release
                     SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
