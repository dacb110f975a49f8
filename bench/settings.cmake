if(VANTREL_WINDOWS)
    add_executable(settings_load_bench settings_load_bench_win.cpp)
    target_link_libraries(settings_load_bench PRIVATE vantrel_win)
    target_link_options(settings_load_bench PRIVATE -municode)
    vantrel_warnings(settings_load_bench)

    add_executable(startup_bench startup_bench_win.cpp)
    target_link_options(startup_bench PRIVATE -municode)
    vantrel_warnings(startup_bench)

    set_target_properties(settings_load_bench startup_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endif()
