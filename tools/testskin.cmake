# The test skin, built like the default skin: skingen --test draws its images and copies
# skins/test/skin.ini into ${CMAKE_BINARY_DIR}/skins/test/, and the skin packer turns that folder
# into ${CMAKE_BINARY_DIR}/skins/test.skin. Pixel tests load it to compare exact colours (its
# geometry and colours: tools/skingen/TestSkinPalette.h). This fragment comes after the
# packer's and the generator's.
set(_dir "${CMAKE_BINARY_DIR}/skins/test")
set(_ini "${PROJECT_SOURCE_DIR}/skins/test/skin.ini")
set(_stamp "${CMAKE_BINARY_DIR}/skins/test.stamp")
add_custom_command(
  OUTPUT "${_stamp}"
  COMMAND "${CMAKE_COMMAND}" -E rm -rf "${_dir}"
  COMMAND skingen --test "${_dir}" "${_ini}"
  COMMAND "${CMAKE_COMMAND}" -E touch "${_stamp}"
  DEPENDS skingen "${_ini}"
  COMMENT "Drawing the test skin into ${_dir}"
  VERBATIM)
set(_skin "${CMAKE_BINARY_DIR}/skins/test.skin")
add_custom_command(
  OUTPUT "${_skin}"
  COMMAND skinpack pack "${_dir}" "${_skin}"
  DEPENDS "${_stamp}" skinpack
  COMMENT "Packing the test skin into ${_skin}"
  VERBATIM)
add_custom_target(test_skin ALL DEPENDS "${_skin}")
