# Name case folding, skin INI reader, colour maths and gradient ramps, BMP file codec.
add_executable(test_ini_img_host ${CMAKE_CURRENT_LIST_DIR}/WinSkinIniTest.cpp
                                 ${CMAKE_CURRENT_LIST_DIR}/ImgUtilTest.cpp
                                 ${CMAKE_CURRENT_LIST_DIR}/BmpFileTest.cpp
                                 ${CMAKE_CURRENT_LIST_DIR}/TextCaseTest.cpp)
target_link_libraries(test_ini_img_host PRIVATE tarnel_store GTest::gtest_main)
tarnel_target(test_ini_img_host)
add_test(NAME host.ini_img COMMAND test_ini_img_host)
