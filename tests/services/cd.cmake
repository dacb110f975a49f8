vantrel_test_sources(services_tests ${CMAKE_CURRENT_LIST_DIR}/cd_audio_test.cpp)
vantrel_test_sources(vantrel_win_tests ${CMAKE_CURRENT_LIST_DIR}/cd_device_win_test.cpp)
