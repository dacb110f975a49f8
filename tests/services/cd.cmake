vantrel_test_sources(services_tests ${CMAKE_CURRENT_LIST_DIR}/cd_audio_test.cpp)
