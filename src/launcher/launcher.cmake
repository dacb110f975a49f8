target_sources(vantrel_launcher PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/cell_paint.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cells.cpp
    ${CMAKE_CURRENT_LIST_DIR}/layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/placement.cpp
    ${CMAKE_CURRENT_LIST_DIR}/task_list.cpp
)
