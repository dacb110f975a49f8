target_sources(vantrel_config PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ini_document.cpp)
if(VANTREL_WINDOWS)
    target_sources(vantrel_win PRIVATE ${CMAKE_CURRENT_LIST_DIR}/settings_files_win.cpp)
endif()
