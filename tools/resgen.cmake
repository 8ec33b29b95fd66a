# resgen: draws the bitmaps the program embeds as its own resources ("TRACK", "TRACKVERT",
# "TARPAULMENU") into ${CMAKE_BINARY_DIR}/resources. The target skin_resources builds them; it
# is made part of default_skin's build, so that the Windows tree's host-tools build (which
# builds default_skin) leaves them under hosttools/resources as well.
add_executable(resgen ${CMAKE_CURRENT_LIST_DIR}/resgen/ResGen.cpp)
target_link_libraries(resgen PRIVATE tarnel_store)
tarnel_target(resgen)

set(_resgen_dir "${CMAKE_BINARY_DIR}/resources")
set(_resgen_files ${TARNEL_BITMAP_RESOURCES})
list(TRANSFORM _resgen_files PREPEND "${_resgen_dir}/")
list(TRANSFORM _resgen_files APPEND ".bmp")
add_custom_command(
  OUTPUT ${_resgen_files}
  COMMAND resgen "${_resgen_dir}"
  DEPENDS resgen
  COMMENT "Drawing the program's bitmap resources into ${_resgen_dir}"
  VERBATIM)
add_custom_target(skin_resources ALL DEPENDS ${_resgen_files})

