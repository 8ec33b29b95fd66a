# The end-to-end harness: drives the real tarnel.exe from outside.
# Wine sees the Unix file system as drive Z:.
set(_tarnel_exe "Z:${CMAKE_BINARY_DIR}/src/app/tarnel.exe")
string(REPLACE "/" "\\\\" _tarnel_exe "${_tarnel_exe}")
add_library(tarnel_e2e STATIC ${CMAKE_CURRENT_LIST_DIR}/E2e.cpp)
target_include_directories(tarnel_e2e PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_compile_definitions(tarnel_e2e PRIVATE "TARNEL_EXE=\"${_tarnel_exe}\"")
target_compile_definitions(tarnel_e2e PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_libraries(tarnel_e2e PUBLIC GTest::gtest user32 gdi32)
add_dependencies(tarnel_e2e tarnel)
tarnel_target(tarnel_e2e)

# Adds an end-to-end test executable: tarnel_e2e_test(<name> <sources...>)
function(tarnel_e2e_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE tarnel_e2e GTest::gtest_main)
  tarnel_target(${name})
  add_test(NAME e2e.${name} COMMAND ${name})
endfunction()
