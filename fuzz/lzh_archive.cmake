# libFuzzer targets of the LZH expander and the skin archive reader. Their units are compiled
# in with the sanitizers and coverage rather than taken from tarnel_store; the skin writer
# (tarnel_skinwriter) only makes their inputs. Built in the fuzz tree only (clang).
if(NOT TARNEL_FUZZ)
  return()
endif()
set(_store ${CMAKE_SOURCE_DIR}/src/skin/store)
set(_fuzz_flags -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)

add_executable(fuzz_lzh ${CMAKE_CURRENT_LIST_DIR}/LzhFuzz.cpp ${_store}/SkinLzh.cpp)
target_include_directories(fuzz_lzh PRIVATE ${_store} ${CMAKE_SOURCE_DIR}/tests/host)

add_executable(fuzz_skin_archive ${CMAKE_CURRENT_LIST_DIR}/SkinArchiveFuzz.cpp
  ${_store}/SkinLzh.cpp ${_store}/SkinReader.cpp)
target_include_directories(fuzz_skin_archive PRIVATE ${_store})
target_link_libraries(fuzz_skin_archive PRIVATE tarnel_skinwriter)

foreach(_t fuzz_lzh fuzz_skin_archive)
  target_compile_options(${_t} PRIVATE ${_fuzz_flags})
  target_link_options(${_t} PRIVATE ${_fuzz_flags})
  tarnel_target(${_t})
endforeach()

# Seed corpora, written at test time by a plain (uninstrumented) generator.
add_executable(fuzz_lzh_archive_seeds ${CMAKE_CURRENT_LIST_DIR}/LzhArchiveSeeds.cpp)
target_link_libraries(fuzz_lzh_archive_seeds PRIVATE tarnel_skinwriter tarnel_store)
tarnel_target(fuzz_lzh_archive_seeds)

set(_corpus ${CMAKE_CURRENT_BINARY_DIR}/lzh_archive_corpus)
add_test(NAME fuzz.lzh_archive_seeds COMMAND fuzz_lzh_archive_seeds ${_corpus}/seeds)
set_tests_properties(fuzz.lzh_archive_seeds PROPERTIES FIXTURES_SETUP lzh_archive_seeds)
foreach(_kind lzh archive)
  if(_kind STREQUAL "lzh")
    set(_exe fuzz_lzh)
  else()
    set(_exe fuzz_skin_archive)
  endif()
  file(MAKE_DIRECTORY ${_corpus}/found_${_kind})
  add_test(NAME fuzz.${_kind} COMMAND ${_exe} -max_total_time=30 -rss_limit_mb=2048
           -print_final_stats=1 -artifact_prefix=${_corpus}/${_kind}-
           ${_corpus}/found_${_kind} ${_corpus}/seeds/${_kind})
  set_tests_properties(fuzz.${_kind} PROPERTIES FIXTURES_REQUIRED lzh_archive_seeds TIMEOUT 180)
endforeach()
