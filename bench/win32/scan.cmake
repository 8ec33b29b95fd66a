# One close-scan tick of the real main window against a bare loop of the same window lookups.
# The main window reads its stored description from the executable's resources, so the
# program's resource script is part of this executable. Run it under Wine (not a test).
set(_tarnel_rc ${CMAKE_SOURCE_DIR}/src/app/tarnel.rc)
add_executable(scan_bench ${CMAKE_CURRENT_LIST_DIR}/ScanBench.cpp ${_tarnel_rc})
tarnel_resource_depends(${_tarnel_rc})
target_include_directories(scan_bench PRIVATE ${CMAKE_SOURCE_DIR}/src/app)
target_link_libraries(scan_bench PRIVATE tarnel_app benchmark::benchmark)
set_target_properties(scan_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY
                                            ${CMAKE_CURRENT_BINARY_DIR}/win32)
tarnel_target(scan_bench)
