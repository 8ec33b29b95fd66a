# The default skin's generator: runs skingen and checks its images against skin.ini.
add_executable(test_defaultskin_host ${CMAKE_CURRENT_LIST_DIR}/DefaultSkinTest.cpp)
target_link_libraries(test_defaultskin_host PRIVATE tarnel_store GTest::gtest_main)
target_compile_definitions(test_defaultskin_host PRIVATE
  TARNEL_SKINGEN="$<TARGET_FILE:skingen>"
  TARNEL_DEFAULT_SKIN_INI="${PROJECT_SOURCE_DIR}/skins/default/skin.ini")
add_dependencies(test_defaultskin_host skingen)
tarnel_target(test_defaultskin_host)
add_test(NAME host.defaultskin COMMAND test_defaultskin_host)
