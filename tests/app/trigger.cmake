vantrel_test_sources(app_tests ${CMAKE_CURRENT_LIST_DIR}/trigger_test.cpp)
