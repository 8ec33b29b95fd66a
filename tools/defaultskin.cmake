# The default skin, built from source: skingen draws its images and copies skins/default/skin.ini
# into ${CMAKE_BINARY_DIR}/skins/default/, and the skin packer turns that folder into
# ${CMAKE_BINARY_DIR}/skins/default.skin. Both steps run again when the generator or the
# description changes.
#
# The rules are made at the end of this folder's processing, once every fragment (the packer's
# included) has defined its targets.
function(tarnel_default_skin_rules)
  if(NOT TARGET skingen)
    return()
  endif()
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
  if(TARGET skinpack)
    set(_skin "${CMAKE_BINARY_DIR}/skins/default.skin")
    add_custom_command(
      OUTPUT "${_skin}"
      COMMAND skinpack pack "${_dir}" "${_skin}"
      DEPENDS "${_stamp}" skinpack
      COMMENT "Packing the default skin into ${_skin}"
      VERBATIM)
    add_custom_target(default_skin ALL DEPENDS "${_skin}")
  else()
    message(STATUS "No skinpack target: default_skin draws the images but does not pack them")
    add_custom_target(default_skin ALL DEPENDS "${_stamp}")
  endif()
endfunction()
cmake_language(DEFER CALL tarnel_default_skin_rules)
