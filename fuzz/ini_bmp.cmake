# libFuzzer targets of the skin INI reader and the BMP decoder (clang only). Their units are
# compiled in with the sanitizers and coverage rather than taken from tarnel_store.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  return()
endif()
set(_store ${CMAKE_SOURCE_DIR}/src/skin/store)
set(_fuzz_flags -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)

add_executable(fuzz_ini ${CMAKE_CURRENT_LIST_DIR}/IniFuzz.cpp ${_store}/WinSkinIni.cpp)
add_executable(fuzz_bmp ${CMAKE_CURRENT_LIST_DIR}/BmpFuzz.cpp ${_store}/BmpFile.cpp)
foreach(_t fuzz_ini fuzz_bmp)
  target_include_directories(${_t} PRIVATE ${_store} ${CMAKE_CURRENT_LIST_DIR})
  target_compile_options(${_t} PRIVATE ${_fuzz_flags})
  target_link_options(${_t} PRIVATE ${_fuzz_flags})
  tarnel_target(${_t})
endforeach()

# Seed corpora, written at test time by a plain generator.
add_executable(fuzz_ini_bmp_seeds ${CMAKE_CURRENT_LIST_DIR}/IniBmpSeeds.cpp ${_store}/BmpFile.cpp)
target_include_directories(fuzz_ini_bmp_seeds PRIVATE ${_store})
tarnel_target(fuzz_ini_bmp_seeds)

set(_ini_bmp_corpus ${CMAKE_CURRENT_BINARY_DIR}/ini_bmp_corpus)
add_test(NAME fuzz.ini_bmp_seeds COMMAND fuzz_ini_bmp_seeds ${_ini_bmp_corpus}/seeds)
set_tests_properties(fuzz.ini_bmp_seeds PROPERTIES FIXTURES_SETUP ini_bmp_seeds)
foreach(_kind ini bmp)
  file(MAKE_DIRECTORY ${_ini_bmp_corpus}/found_${_kind})
  add_test(NAME fuzz.${_kind} COMMAND fuzz_${_kind} -max_total_time=30 -rss_limit_mb=2048
           -print_final_stats=1 -artifact_prefix=${_ini_bmp_corpus}/${_kind}-
           ${_ini_bmp_corpus}/found_${_kind} ${_ini_bmp_corpus}/seeds/${_kind})
  set_tests_properties(fuzz.${_kind} PROPERTIES FIXTURES_REQUIRED ini_bmp_seeds TIMEOUT 180)
endforeach()
