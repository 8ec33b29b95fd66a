# skingen: draws the default skin's images (or, with --test, the test skin's) and copies its
# description into a folder (tools/defaultskin.cmake and tools/testskin.cmake run it at build
# time).
add_executable(skingen
  ${CMAKE_CURRENT_LIST_DIR}/skingen/main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skingen/DefaultSkin.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skingen/DefaultSkinBars.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skingen/TestSkinImages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skingen/SkinPaint.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skingen/SkinBitmap.cpp)
target_compile_definitions(skingen PRIVATE
  TARNEL_DEFAULT_SKIN_INI="${PROJECT_SOURCE_DIR}/skins/default/skin.ini"
  TARNEL_TEST_SKIN_INI="${PROJECT_SOURCE_DIR}/skins/test/skin.ini")
tarnel_target(skingen)
