# One program per session: a second start of the real program shows the first and ends.
tarnel_e2e_test(single_instance ${CMAKE_CURRENT_LIST_DIR}/SingleInstanceTest.cpp)
