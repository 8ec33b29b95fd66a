# The real tarnel.exe measured from outside: close latency, add and delete with a long list,
# idle CPU. A helper program run under Wine (not a test); it drives the program through the
# end-to-end harness, so it is built where the tests are.
if(NOT TARGET tarnel_e2e)
  return()
endif()
add_executable(close_bench ${CMAKE_CURRENT_LIST_DIR}/CloseBench.cpp)
target_link_libraries(close_bench PRIVATE tarnel_e2e benchmark::benchmark)
set_target_properties(close_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY
                                             ${CMAKE_CURRENT_BINARY_DIR}/win32)
tarnel_target(close_bench)
