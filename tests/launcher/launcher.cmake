vantrel_test_sources(launcher_tests
    ${CMAKE_CURRENT_LIST_DIR}/cells_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/layout_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/placement_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/task_list_test.cpp
)
