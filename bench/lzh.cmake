# LZH expansion and whole skin unpacking against a plain expander of the format; plain_lzh is
# that expander as a program of its own, the yardstick of `skinpack unpack` run as a process.
add_executable(plain_lzh ${CMAKE_CURRENT_LIST_DIR}/PlainLzhMain.cpp)
tarnel_target(plain_lzh)

add_executable(bench_lzh ${CMAKE_CURRENT_LIST_DIR}/LzhBench.cpp)
target_include_directories(bench_lzh PRIVATE ${CMAKE_SOURCE_DIR}/tests/host)
target_link_libraries(bench_lzh PRIVATE tarnel_skinpack tarnel_store benchmark::benchmark)
target_compile_definitions(bench_lzh PRIVATE SKINPACK_EXE="$<TARGET_FILE:skinpack>"
                                             PLAIN_LZH_EXE="$<TARGET_FILE:plain_lzh>")
add_dependencies(bench_lzh skinpack plain_lzh)
tarnel_target(bench_lzh)
