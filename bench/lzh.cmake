# LZH expansion throughput against the plain byte-at-a-time expander.
add_executable(bench_lzh ${CMAKE_CURRENT_LIST_DIR}/LzhBench.cpp)
target_include_directories(bench_lzh PRIVATE ${CMAKE_SOURCE_DIR}/tests/host)
target_link_libraries(bench_lzh PRIVATE tarnel_skinpack tarnel_store benchmark::benchmark)
tarnel_target(bench_lzh)
