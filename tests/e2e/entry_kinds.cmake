# Pattern ("T|") and program ("E|") entries on the real program.
tarnel_e2e_test(entry_kinds ${CMAKE_CURRENT_LIST_DIR}/EntryKindsTest.cpp)
