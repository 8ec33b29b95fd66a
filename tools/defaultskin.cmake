# The default skin, built from source: skingen draws its images and copies skins/default/skin.ini
# into ${CMAKE_BINARY_DIR}/skins/default/, and the skin packer turns that folder into
# ${CMAKE_BINARY_DIR}/skins/default.skin. Both steps run again when the generator or the
# description changes.
#
# The program's bitmap resources (tools/resgen.cmake) are built with it, so that the Windows
# tree's host-tools build, which builds default_skin, leaves them under hosttools/resources.
# This fragment comes after the packer's, the generator's and resgen's.
set(_dir "${CMAKE_BINARY_DIR}/skins/default")
set(_ini "${PROJECT_SOURCE_DIR}/skins/default/skin.ini")
set(_stamp "${CMAKE_BINARY_DIR}/skins/default.stamp")
add_custom_command(
  OUTPUT "${_stamp}"
  COMMAND "${CMAKE_COMMAND}" -E rm -rf "${_dir}"
  COMMAND skingen "${_dir}" "${_ini}"
  COMMAND "${CMAKE_COMMAND}" -E touch "${_stamp}"
  DEPENDS skingen "${_ini}"
  COMMENT "Drawing the default skin into ${_dir}"
  VERBATIM)
set(_skin "${CMAKE_BINARY_DIR}/skins/default.skin")
add_custom_command(
  OUTPUT "${_skin}"
  COMMAND skinpack pack "${_dir}" "${_skin}"
  DEPENDS "${_stamp}" skinpack
  COMMENT "Packing the default skin into ${_skin}"
  VERBATIM)
add_custom_target(default_skin ALL DEPENDS "${_skin}")
add_dependencies(default_skin skin_resources)
