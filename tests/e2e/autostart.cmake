# The notification icon, its menu, and start at logon with the Run value read from outside.
tarnel_e2e_test(autostart ${CMAKE_CURRENT_LIST_DIR}/AutostartTest.cpp
                ${CMAKE_CURRENT_LIST_DIR}/DesktopInput.cpp)
target_link_libraries(autostart PRIVATE shell32 advapi32)
