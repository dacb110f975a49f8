# Snapshot cost on in-memory device trees; native only. For figures without the sanitizers:
#   cmake -S . -B build/dravik-bench -DCMAKE_BUILD_TYPE=Release && \
#   cmake --build build/dravik-bench --target dravik_snapshot_bench -j2 && build/dravik-bench/bench/dravik_snapshot_bench
if(NOT VANTREL_WINDOWS)
    add_executable(dravik_snapshot_bench
        ${CMAKE_CURRENT_LIST_DIR}/dravik_snapshot_bench.cpp
        ${CMAKE_SOURCE_DIR}/tests/usbdevice/memory_device_tree.cpp
    )
    target_include_directories(dravik_snapshot_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_link_libraries(dravik_snapshot_bench PRIVATE dravik_core)
    vantrel_warnings(dravik_snapshot_bench)
endif()
