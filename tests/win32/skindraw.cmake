# Drawing of skin image strips into memory device contexts (24- and 32-bit DIB sections).
# The drawing unit is compiled in directly, so that the test needs nothing else of the skin
# engine.
add_executable(test_skindraw_win32 ${CMAKE_CURRENT_LIST_DIR}/SkinDrawTest.cpp
                                   ${CMAKE_SOURCE_DIR}/src/skin/form/SkinDraw.cpp)
target_include_directories(test_skindraw_win32 PRIVATE ${CMAKE_SOURCE_DIR}/src/skin/form)
target_link_libraries(test_skindraw_win32 PRIVATE tarnel_toolkit tarnel_store gtest_main)
tarnel_target(test_skindraw_win32)
add_test(NAME win32.skindraw COMMAND test_skindraw_win32)
