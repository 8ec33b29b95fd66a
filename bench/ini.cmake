# INI reader: load and lookup cost against a rescanning baseline.
add_executable(bench_ini ${CMAKE_CURRENT_LIST_DIR}/IniBench.cpp)
target_link_libraries(bench_ini PRIVATE tarnel_store benchmark::benchmark)
tarnel_target(bench_ini)
