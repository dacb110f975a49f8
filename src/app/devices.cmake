# The USB drive list and its binding to dravik.dll.
target_sources(vantrel_app PRIVATE ${CMAKE_CURRENT_LIST_DIR}/device_list.cpp)
if(VANTREL_WINDOWS)
    target_sources(vantrel_win PRIVATE ${CMAKE_CURRENT_LIST_DIR}/device_library_win.cpp)
endif()
