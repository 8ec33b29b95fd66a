# The notification icon, its menu, and start at logon with the Run value read from outside.
# This fragment is read before the harness that defines tarnel_e2e_test, so the target is
# made once the whole folder has been read.
set(_tarnel_e2e_autostart_dir "${CMAKE_CURRENT_LIST_DIR}")
function(_tarnel_e2e_autostart)
  tarnel_e2e_test(autostart ${_tarnel_e2e_autostart_dir}/AutostartTest.cpp
                  ${_tarnel_e2e_autostart_dir}/DesktopInput.cpp)
  target_link_libraries(autostart PRIVATE shell32 advapi32)
endfunction()
cmake_language(DEFER CALL _tarnel_e2e_autostart)
