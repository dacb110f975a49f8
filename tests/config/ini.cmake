vantrel_test_sources(config_tests ${CMAKE_CURRENT_LIST_DIR}/ini_document_test.cpp)
