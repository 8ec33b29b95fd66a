# The record of closes on the real program: closed.log and the window of the last closes.
tarnel_e2e_test(closed_record ${CMAKE_CURRENT_LIST_DIR}/ClosedRecordTest.cpp
                ${CMAKE_CURRENT_LIST_DIR}/DesktopInput.cpp)
target_link_libraries(closed_record PRIVATE shell32)
# The skin engine's message numbers come from its own header.
target_include_directories(closed_record PRIVATE ${CMAKE_SOURCE_DIR}/src/skin/data)
