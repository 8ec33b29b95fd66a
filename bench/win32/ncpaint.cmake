# A full non-client repaint of a skinned window against the system's repaint of the same window
# unskinned, with the default skin read from its packed file. Run it under Wine (not a test).
add_executable(ncpaint_bench ${CMAKE_CURRENT_LIST_DIR}/NcPaintBench.cpp)
target_link_libraries(ncpaint_bench PRIVATE tarnel_skin benchmark::benchmark)
target_compile_definitions(ncpaint_bench PRIVATE TARNEL_BENCH_SKIN="Z:${TARNEL_DEFAULT_SKIN}")
add_dependencies(ncpaint_bench tarnel_hosttools)
set_target_properties(ncpaint_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/win32)
tarnel_target(ncpaint_bench)
