vantrel_test_sources(launcher_tests
    ${CMAKE_CURRENT_LIST_DIR}/item_menu_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/navigation_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/run_item_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/task_actions_test.cpp
)
vantrel_test_sources(vantrel_win_tests ${CMAKE_CURRENT_LIST_DIR}/nav_win_test.cpp)
