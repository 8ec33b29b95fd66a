# Skin packer: LZH encoder, archive writer and the skinpack command (host tool).
add_library(tarnel_skinpack STATIC
  ${CMAKE_CURRENT_LIST_DIR}/skinpack/SkinLzhEncoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skinpack/SkinArchiveWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skinpack/SkinpackCommands.cpp)
target_include_directories(tarnel_skinpack PUBLIC ${CMAKE_CURRENT_LIST_DIR}/skinpack)
target_link_libraries(tarnel_skinpack PUBLIC tarnel_store)
tarnel_target(tarnel_skinpack)

add_executable(skinpack ${CMAKE_CURRENT_LIST_DIR}/skinpack/SkinpackMain.cpp)
target_link_libraries(skinpack PRIVATE tarnel_skinpack)
tarnel_target(skinpack)
