target_sources(vantrel_launcher PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/item_menu.cpp
    ${CMAKE_CURRENT_LIST_DIR}/navigation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/run_item.cpp
    ${CMAKE_CURRENT_LIST_DIR}/task_actions.cpp
)
if(VANTREL_WINDOWS)
    target_sources(vantrel_win PRIVATE
        ${CMAKE_CURRENT_LIST_DIR}/executor_win.cpp
        ${CMAKE_CURRENT_LIST_DIR}/task_actions_win.cpp
    )
endif()
