# The capture hotkey on the real program, with the pointer and F5 given through the X display.
tarnel_e2e_test(hotkey ${CMAKE_CURRENT_LIST_DIR}/HotkeyTest.cpp
                ${CMAKE_CURRENT_LIST_DIR}/DesktopInput.cpp)
target_link_libraries(hotkey PRIVATE shell32)
