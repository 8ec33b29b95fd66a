# The skinned window frame of the real program under the real pointer, and its message boxes.
tarnel_e2e_test(skinned_frame ${CMAKE_CURRENT_LIST_DIR}/SkinnedFrameTest.cpp
                ${CMAKE_CURRENT_LIST_DIR}/DesktopInput.cpp)
target_link_libraries(skinned_frame PRIVATE shell32)
# The skin engine's message numbers come from its own header.
target_include_directories(skinned_frame PRIVATE ${CMAKE_SOURCE_DIR}/src/skin/data)
