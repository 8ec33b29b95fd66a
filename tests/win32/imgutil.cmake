# TBitmap and the GDI half of the image helpers, on real DIB sections under Wine.
add_executable(test_imgutil_win32 ${CMAKE_CURRENT_LIST_DIR}/ImgUtilGdiTest.cpp)
target_link_libraries(test_imgutil_win32 PRIVATE tarnel_toolkit tarnel_store gtest_main)
tarnel_target(test_imgutil_win32)
add_test(NAME win32.imgutil COMMAND test_imgutil_win32)
