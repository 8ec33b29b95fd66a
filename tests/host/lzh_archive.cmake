# LZH expansion, skin archive reading and the skin packer.
add_executable(test_lzh_host
  ${CMAKE_CURRENT_LIST_DIR}/SkinLzhTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinReaderTest.cpp)
target_link_libraries(test_lzh_host PRIVATE tarnel_skinpack tarnel_store GTest::gtest_main)
tarnel_target(test_lzh_host)
add_test(NAME host.lzh COMMAND test_lzh_host)

add_executable(test_skinpack_host ${CMAKE_CURRENT_LIST_DIR}/SkinpackTest.cpp)
target_link_libraries(test_skinpack_host PRIVATE tarnel_skinpack tarnel_store GTest::gtest_main)
target_compile_definitions(test_skinpack_host PRIVATE SKINPACK_EXE="$<TARGET_FILE:skinpack>")
add_dependencies(test_skinpack_host skinpack)
tarnel_target(test_skinpack_host)
add_test(NAME host.skinpack COMMAND test_skinpack_host)

# The expander as the builds without SSE2 (the 32-bit Windows tree) have it, built on its own.
add_executable(test_lzh_scalar_host ${CMAKE_CURRENT_LIST_DIR}/SkinLzhTest.cpp
  ${CMAKE_SOURCE_DIR}/src/skin/store/SkinLzh.cpp)
target_include_directories(test_lzh_scalar_host PRIVATE ${CMAKE_SOURCE_DIR}/src/skin/store)
target_compile_definitions(test_lzh_scalar_host PRIVATE TARNEL_LZH_SCALAR)
target_link_libraries(test_lzh_scalar_host PRIVATE tarnel_skinwriter GTest::gtest_main)
tarnel_target(test_lzh_scalar_host)
add_test(NAME host.lzh_scalar COMMAND test_lzh_scalar_host)
