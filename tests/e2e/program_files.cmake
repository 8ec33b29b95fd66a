# tarnel.exe and gallery.exe as built: machine, version resource and manifest, and what the
# manifest does. The test program carries the same manifest (ProgramFiles.rc).
set(_tarnel_manifest "Z:${CMAKE_SOURCE_DIR}/src/app/tarnel.manifest")
set(_gallery_exe_path "Z:${CMAKE_BINARY_DIR}/src/gallery/gallery.exe")
string(REPLACE "/" "\\\\" _tarnel_manifest "${_tarnel_manifest}")
string(REPLACE "/" "\\\\" _gallery_exe_path "${_gallery_exe_path}")
tarnel_e2e_test(program_files ${CMAKE_CURRENT_LIST_DIR}/ProgramFilesTest.cpp
                ${CMAKE_CURRENT_LIST_DIR}/ProgramFile.cpp ${CMAKE_CURRENT_LIST_DIR}/ProgramFiles.rc)
target_compile_definitions(program_files PRIVATE "TARNEL_EXE=\"${_tarnel_exe}\""
                           "GALLERY_EXE=\"${_gallery_exe_path}\""
                           "TARNEL_MANIFEST=\"${_tarnel_manifest}\"")
target_include_directories(program_files PRIVATE ${CMAKE_SOURCE_DIR}/src/app)
target_link_libraries(program_files PRIVATE version)
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/ProgramFiles.rc PROPERTIES OBJECT_DEPENDS
                            ${CMAKE_SOURCE_DIR}/src/app/tarnel.manifest)
add_dependencies(program_files gallery)
