if(VANTREL_WINDOWS)
    add_executable(launcher_bench launcher_bench_win.cpp)
    target_link_libraries(launcher_bench PRIVATE vantrel_win)
    target_link_options(launcher_bench PRIVATE -municode)
    vantrel_warnings(launcher_bench)

    add_executable(launcher_idle_floor WIN32 launcher_idle_floor_win.cpp)
    target_link_libraries(launcher_idle_floor PRIVATE user32 winmm)
    target_link_options(launcher_idle_floor PRIVATE -municode)
    vantrel_warnings(launcher_idle_floor)

    set_target_properties(launcher_bench launcher_idle_floor PROPERTIES RUNTIME_OUTPUT_DIRECTORY
        ${CMAKE_BINARY_DIR}/bench)
endif()
