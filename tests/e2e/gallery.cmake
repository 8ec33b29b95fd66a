# gallery.exe from outside: its windows, the main form's controls, its MDI child maximized and
# restored, a menu shortcut.
set(_gallery_exe "Z:${CMAKE_BINARY_DIR}/src/gallery/gallery.exe")
string(REPLACE "/" "\\\\" _gallery_exe "${_gallery_exe}")
tarnel_e2e_test(gallery_windows ${CMAKE_CURRENT_LIST_DIR}/GalleryTest.cpp
                ${CMAKE_CURRENT_LIST_DIR}/DesktopInput.cpp)
target_compile_definitions(gallery_windows PRIVATE "GALLERY_EXE=\"${_gallery_exe}\"")
add_dependencies(gallery_windows gallery)
