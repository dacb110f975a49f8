# dravik: the device snapshot and eject rules (dravik_core, platform-free) and, on Windows, dravik.dll.
target_sources(dravik_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/device_library.cpp
    ${CMAKE_CURRENT_LIST_DIR}/device_rules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/device_snapshot.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_buffers.cpp
)

if(VANTREL_WINDOWS)
    # The exports over the system's device-setup interfaces. dravik.dll adds the running machine; the tests
    # build the same exports over a described machine.
    add_library(dravik_exports OBJECT
        ${CMAKE_CURRENT_LIST_DIR}/class_image_list_win.cpp
        ${CMAKE_CURRENT_LIST_DIR}/dravik_exports_win.cpp
    )
    target_link_libraries(dravik_exports PUBLIC dravik_core setupapi cfgmgr32 rpcrt4 version)
    vantrel_warnings(dravik_exports)

    # dravik.dll stands alone: it links the device rules and the system libraries, nothing of vantrel.
    add_library(dravik SHARED
        ${CMAKE_CURRENT_LIST_DIR}/device_tree_win.cpp
        ${CMAKE_CURRENT_LIST_DIR}/machine_win.cpp
        ${CMAKE_CURRENT_LIST_DIR}/dravik.def
        ${CMAKE_CURRENT_LIST_DIR}/dravik.rc
    )
    target_link_libraries(dravik PRIVATE dravik_exports)
    target_link_options(dravik PRIVATE -s)
    set_target_properties(dravik PROPERTIES
        PREFIX ""
        OUTPUT_NAME dravik
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    vantrel_warnings(dravik)
endif()
