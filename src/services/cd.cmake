target_sources(vantrel_services PRIVATE ${CMAKE_CURRENT_LIST_DIR}/cd_audio.cpp)
if(VANTREL_WINDOWS)
    target_sources(vantrel_win PRIVATE ${CMAKE_CURRENT_LIST_DIR}/cd_device_win.cpp)
endif()
