# The packed test skin (build/host/skins/test.skin) against its palette header.
add_executable(test_testskin_host ${CMAKE_CURRENT_LIST_DIR}/TestSkinTest.cpp)
target_include_directories(test_testskin_host PRIVATE ${PROJECT_SOURCE_DIR}/tools/skingen)
target_link_libraries(test_testskin_host PRIVATE tarnel_store GTest::gtest_main)
target_compile_definitions(test_testskin_host PRIVATE
  TARNEL_TEST_SKIN_FILE="${CMAKE_BINARY_DIR}/skins/test.skin"
  TARNEL_TEST_SKIN_INI="${PROJECT_SOURCE_DIR}/skins/test/skin.ini")
add_dependencies(test_testskin_host test_skin)
tarnel_target(test_testskin_host)
add_test(NAME host.testskin COMMAND test_testskin_host)
