# TBitmap and the GDI half of the image helpers, on real DIB sections under Wine.
# Bitmap.cpp is compiled in directly until the toolkit library carries it.
add_executable(test_imgutil_win32 ${CMAKE_CURRENT_LIST_DIR}/ImgUtilGdiTest.cpp
                                  ${CMAKE_SOURCE_DIR}/src/toolkit/Bitmap.cpp)
target_include_directories(test_imgutil_win32 PRIVATE ${CMAKE_SOURCE_DIR}/src/toolkit)
target_link_libraries(test_imgutil_win32 PRIVATE tarnel_store gdi32 user32 gtest_main)
tarnel_target(test_imgutil_win32)
add_test(NAME win32.imgutil COMMAND test_imgutil_win32)
