# A skinned push button's repaint against the system's repaint of the same button unskinned,
# with the default skin read from its packed file. Run it under Wine (not a test).
add_executable(buttonpaint_bench ${CMAKE_CURRENT_LIST_DIR}/ButtonPaintBench.cpp)
target_link_libraries(buttonpaint_bench PRIVATE tarnel_skin benchmark::benchmark)
target_compile_definitions(buttonpaint_bench PRIVATE TARNEL_BENCH_SKIN="Z:${TARNEL_DEFAULT_SKIN}")
add_dependencies(buttonpaint_bench tarnel_hosttools)
set_target_properties(buttonpaint_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/win32)
tarnel_target(buttonpaint_bench)
