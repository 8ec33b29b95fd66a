# The skin element objects and the reading of skin descriptions (win32.skinelements), and the
# skin data component (win32.skindata). Both carry the default skin and the program's bitmap
# resources ("TRACK", "TRACKVERT", "TARPAULMENU") that the host tools draw and pack.
set(_skin_hosttools "${CMAKE_BINARY_DIR}/hosttools")
set(_skin_res_files "${TARNEL_DEFAULT_SKIN};${_skin_hosttools}/resources/TRACK.bmp;${_skin_hosttools}/resources/TRACKVERT.bmp;${_skin_hosttools}/resources/TARPAULMENU.bmp")
set(_skin_test_rc "${CMAKE_CURRENT_BINARY_DIR}/skindata_test.rc")
file(CONFIGURE OUTPUT "${_skin_test_rc}" CONTENT
"DEFAULT_SKIN RCDATA \"${TARNEL_DEFAULT_SKIN}\"
TRACK BITMAP \"${_skin_hosttools}/resources/TRACK.bmp\"
TRACKVERT BITMAP \"${_skin_hosttools}/resources/TRACKVERT.bmp\"
TARPAULMENU BITMAP \"${_skin_hosttools}/resources/TARPAULMENU.bmp\"
")
set_source_files_properties("${_skin_test_rc}" PROPERTIES OBJECT_DEPENDS "${_skin_res_files}")
set(_skin_packer ${CMAKE_SOURCE_DIR}/tools/skinpack)

# The elements need no skin manager: SkinElements.cpp and SkinContent.cpp are compiled in on
# their own.
add_executable(test_skinelements_win32
  ${CMAKE_CURRENT_LIST_DIR}/SkinElementsTest.cpp
  ${CMAKE_SOURCE_DIR}/src/skin/data/SkinElements.cpp
  ${CMAKE_SOURCE_DIR}/src/skin/data/SkinContent.cpp
  ${_skin_packer}/SkinLzhEncoder.cpp
  ${_skin_packer}/SkinArchiveWriter.cpp
  "${_skin_test_rc}")
target_include_directories(test_skinelements_win32 PRIVATE ${CMAKE_SOURCE_DIR}/src/skin/data
                           ${_skin_packer} ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(test_skinelements_win32 PRIVATE tarnel_toolkit tarnel_store msimg32 gtest_main)
add_dependencies(test_skinelements_win32 tarnel_hosttools)
tarnel_target(test_skinelements_win32)
add_test(NAME win32.skinelements COMMAND test_skinelements_win32)

# The component, with the skin manager of the skin library. The program's own resource script
# gives it the main window's description, the default skin, the bitmaps and the program icon.
set(_program_rc "${CMAKE_SOURCE_DIR}/src/app/tarnel.rc")
set_source_files_properties("${_program_rc}" PROPERTIES OBJECT_DEPENDS
  "${_skin_res_files};${CMAKE_SOURCE_DIR}/src/app/Form_main.tfm;${CMAKE_SOURCE_DIR}/src/app/tarnel.ico")
add_executable(test_skindata_win32
  ${CMAKE_CURRENT_LIST_DIR}/SkinDataTest.cpp
  ${_skin_packer}/SkinLzhEncoder.cpp
  ${_skin_packer}/SkinArchiveWriter.cpp
  "${_program_rc}")
target_include_directories(test_skindata_win32 PRIVATE ${_skin_packer} ${CMAKE_CURRENT_LIST_DIR}
                           ${CMAKE_SOURCE_DIR}/src/app "${_skin_hosttools}/skins"
                           "${_skin_hosttools}/resources")
target_link_libraries(test_skindata_win32 PRIVATE tarnel_skin gtest_main)
add_dependencies(test_skindata_win32 tarnel_hosttools)
tarnel_target(test_skindata_win32)
add_test(NAME win32.skindata COMMAND test_skindata_win32)
