# Native tests of the device snapshot and eject rules on in-memory device trees.
vantrel_test_sources(dravik_tests
    ${CMAKE_CURRENT_LIST_DIR}/device_library_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/drive_snapshot_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/eject_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/memory_device_tree.cpp
    ${CMAKE_CURRENT_LIST_DIR}/usb_snapshot_test.cpp
)

if(VANTREL_WINDOWS)
    # The library's exports over a described machine, built as bin/canned/dravik.dll for the host test.
    add_library(dravik_canned SHARED
        ${CMAKE_CURRENT_LIST_DIR}/canned_machine_win.cpp
        ${CMAKE_CURRENT_LIST_DIR}/memory_device_tree.cpp
        ${CMAKE_SOURCE_DIR}/src/usbdevice/dravik.def
        ${CMAKE_SOURCE_DIR}/src/usbdevice/dravik.rc
    )
    target_link_libraries(dravik_canned PRIVATE dravik_exports)
    target_include_directories(dravik_canned PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    set_target_properties(dravik_canned PROPERTIES
        PREFIX ""
        OUTPUT_NAME dravik
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin/canned)
    vantrel_warnings(dravik_canned)

    # A host that knows the library only by its file name and exported names: no link to it.
    add_executable(dravik_host_tests ${CMAKE_CURRENT_LIST_DIR}/dravik_host_win.cpp)
    target_link_libraries(dravik_host_tests PRIVATE GTest::gtest_main)
    target_include_directories(dravik_host_tests PRIVATE ${CMAKE_SOURCE_DIR}/src)
    set_target_properties(dravik_host_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    add_dependencies(dravik_host_tests dravik dravik_canned)
    vantrel_warnings(dravik_host_tests)
    add_test(NAME dravik_host_tests COMMAND dravik_host_tests)
endif()
