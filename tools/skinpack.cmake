# Skin packer: the skinpack commands (host tool) over the skin writer.
add_library(tarnel_skinpack STATIC ${CMAKE_CURRENT_LIST_DIR}/skinpack/SkinpackCommands.cpp)
target_link_libraries(tarnel_skinpack PUBLIC tarnel_skinwriter tarnel_store)
tarnel_target(tarnel_skinpack)

add_executable(skinpack ${CMAKE_CURRENT_LIST_DIR}/skinpack/SkinpackMain.cpp)
target_link_libraries(skinpack PRIVATE tarnel_skinpack)
tarnel_target(skinpack)
