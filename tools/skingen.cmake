# skingen: draws the default skin's images and copies its description into a folder
# (tools/defaultskin.cmake runs it at build time).
add_executable(skingen
  ${CMAKE_CURRENT_LIST_DIR}/skingen/main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skingen/DefaultSkin.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skingen/DefaultSkinBars.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skingen/SkinPaint.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skingen/SkinBitmap.cpp)
target_compile_definitions(skingen PRIVATE
  TARNEL_DEFAULT_SKIN_INI="${PROJECT_SOURCE_DIR}/skins/default/skin.ini")
tarnel_target(skingen)
