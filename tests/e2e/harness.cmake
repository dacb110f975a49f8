# The end-to-end tools, built only for Windows: the probe that looks at the Wine desktop from the inside,
# and a small resident program that the harness checks itself against. tests/e2e/run.sh drives them.
if(VANTREL_WINDOWS)
    add_executable(vanprobe
        ${CMAKE_CURRENT_LIST_DIR}/probe/probe.cpp
        ${CMAKE_CURRENT_LIST_DIR}/probe/menu_query.cpp)
    target_link_options(vanprobe PRIVATE -municode)
    target_link_libraries(vanprobe PRIVATE user32 gdi32)
    set_target_properties(vanprobe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    vantrel_warnings(vanprobe)
    # Loaded by the system into the process that owns a popup menu the probe reads (see probe/menu_query.h).
    add_library(vanprobe_hook SHARED ${CMAKE_CURRENT_LIST_DIR}/probe/menu_hook.cpp)
    target_link_libraries(vanprobe_hook PRIVATE user32)
    set_target_properties(vanprobe_hook PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin
        ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/e2e)
    vantrel_warnings(vanprobe_hook)
    add_dependencies(vanprobe vanprobe_hook)

    add_executable(vantestwin WIN32 ${CMAKE_CURRENT_LIST_DIR}/probe/testwin.cpp)
    target_link_options(vantestwin PRIVATE -municode)
    target_link_libraries(vantestwin PRIVATE user32 shell32)
    set_target_properties(vantestwin PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/e2e)
    vantrel_warnings(vantestwin)
endif()
