# The notification icon's menu of the real program drawn from the default skin. The test reads
# the default skin itself (the skin engine's element reader and drawing) to know its colours.
tarnel_e2e_test(tray_menu ${CMAKE_CURRENT_LIST_DIR}/TrayMenuTest.cpp
                ${CMAKE_CURRENT_LIST_DIR}/DesktopInput.cpp)
target_link_libraries(tray_menu PRIVATE tarnel_skin shell32 advapi32)
target_compile_definitions(tray_menu PRIVATE TARNEL_DEFAULT_SKIN_FILE="Z:${TARNEL_DEFAULT_SKIN}")
add_dependencies(tray_menu tarnel_hosttools)
# Opens the running program's tray menu (scripts/run.sh --tray-menu, before its screenshot).
add_executable(open_tray_menu ${CMAKE_CURRENT_LIST_DIR}/OpenTrayMenu.cpp
                              ${CMAKE_CURRENT_LIST_DIR}/DesktopInput.cpp)
target_link_libraries(open_tray_menu PRIVATE tarnel_e2e shell32)
tarnel_target(open_tray_menu)
