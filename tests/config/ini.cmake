vantrel_test_sources(config_tests ${CMAKE_CURRENT_LIST_DIR}/ini_document_test.cpp)
vantrel_test_sources(vantrel_win_tests
    ${CMAKE_CURRENT_LIST_DIR}/ini_oracle_win_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_files_win_test.cpp
)
