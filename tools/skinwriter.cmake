# Skin writer: the LZH encoder and the skin archive writer, for the skin packer and for the
# tests and fuzzers that build skin files of their own.
add_library(tarnel_skinwriter STATIC
  ${CMAKE_CURRENT_LIST_DIR}/skinpack/SkinLzhEncoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skinpack/SkinArchiveWriter.cpp)
target_include_directories(tarnel_skinwriter PUBLIC ${CMAKE_CURRENT_LIST_DIR}/skinpack)
target_link_libraries(tarnel_skinwriter PUBLIC tarnel_store)
tarnel_target(tarnel_skinwriter)
