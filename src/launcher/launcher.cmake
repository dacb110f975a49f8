target_sources(vantrel_launcher PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/cell_paint.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cells.cpp
    ${CMAKE_CURRENT_LIST_DIR}/layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/placement.cpp
    ${CMAKE_CURRENT_LIST_DIR}/task_list.cpp
)
if(VANTREL_WINDOWS)
    target_sources(vantrel_win PRIVATE
        ${CMAKE_CURRENT_LIST_DIR}/cell_painter_win.cpp
        ${CMAKE_CURRENT_LIST_DIR}/launcher_window_win.cpp
        ${CMAKE_CURRENT_LIST_DIR}/task_windows_win.cpp
    )
endif()
