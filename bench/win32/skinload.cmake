# Loading the default skin (expand, read, build every element) against its expansion alone.
# The default skin is embedded as the resource "DEFAULT_SKIN", with the program's bitmaps. Run
# it under Wine (not a test).
set(_skinload_rc "${CMAKE_CURRENT_BINARY_DIR}/skinload_bench.rc")
tarnel_skin_resource_script("${_skinload_rc}")
add_executable(skinload_bench ${CMAKE_CURRENT_LIST_DIR}/SkinLoadBench.cpp
               ${CMAKE_SOURCE_DIR}/src/skin/data/SkinElements.cpp
               ${CMAKE_SOURCE_DIR}/src/skin/data/SkinContent.cpp "${_skinload_rc}")
target_include_directories(skinload_bench PRIVATE ${CMAKE_SOURCE_DIR}/src/skin/data)
target_link_libraries(skinload_bench PRIVATE tarnel_toolkit tarnel_store msimg32 benchmark::benchmark)
add_dependencies(skinload_bench tarnel_hosttools)
set_target_properties(skinload_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/win32)
tarnel_target(skinload_bench)
