# The USB drive list: the model natively, the binding to the real dravik.dll under Wine.
vantrel_test_sources(app_tests ${CMAKE_CURRENT_LIST_DIR}/device_list_test.cpp)
if(VANTREL_WINDOWS)
    vantrel_test_sources(vantrel_win_tests ${CMAKE_CURRENT_LIST_DIR}/device_library_win_test.cpp)
    # The test binds bin/dravik.dll and uses bin/canned/dravik.dll as a stand-in and as a planted copy.
    add_dependencies(vantrel_win_tests dravik dravik_canned)
endif()
if(VANTREL_WINDOWS)
    # A damaged library that has only one of the four functions the launcher needs.
    add_library(dravik_partial SHARED ${CMAKE_CURRENT_LIST_DIR}/partial_dravik_win.cpp)
    set_target_properties(dravik_partial PROPERTIES
        PREFIX ""
        OUTPUT_NAME dravik
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin/partial)
    vantrel_warnings(dravik_partial)
    add_dependencies(vantrel_win_tests dravik_partial)
endif()
