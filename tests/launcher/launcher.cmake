vantrel_test_sources(launcher_tests
    ${CMAKE_CURRENT_LIST_DIR}/cells_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/layout_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/placement_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/task_list_test.cpp
)
vantrel_test_sources(vantrel_win_tests ${CMAKE_CURRENT_LIST_DIR}/launcher_window_win_test.cpp)
