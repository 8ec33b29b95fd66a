# libFuzzer target of the portable readers of the program's own files: the list file, title
# patterns and the record of closes. Their units are compiled in with the sanitizers and
# coverage. Built in the fuzz tree only (clang).
if(NOT TARNEL_FUZZ)
  return()
endif()
set(_app ${CMAKE_SOURCE_DIR}/src/app)
set(_fuzz_flags -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
add_executable(fuzz_watchlist ${CMAKE_CURRENT_LIST_DIR}/WatchListFuzz.cpp
  ${_app}/WatchListFile.cpp ${_app}/ClosedLog.cpp)
target_include_directories(fuzz_watchlist PRIVATE ${_app})
target_compile_options(fuzz_watchlist PRIVATE ${_fuzz_flags})
target_link_options(fuzz_watchlist PRIVATE ${_fuzz_flags})
tarnel_target(fuzz_watchlist)

set(_corpus ${CMAKE_CURRENT_BINARY_DIR}/watchlist_corpus)
file(MAKE_DIRECTORY ${_corpus}/found)
add_test(NAME fuzz.watchlist COMMAND fuzz_watchlist -max_total_time=30 -rss_limit_mb=2048
         -print_final_stats=1 -artifact_prefix=${_corpus}/ ${_corpus}/found)
set_tests_properties(fuzz.watchlist PROPERTIES TIMEOUT 180)
