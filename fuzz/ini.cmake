# The settings document under libFuzzer. The libraries it exercises are built with the same sanitizers and
# with coverage (fuzzer-no-link), so that the fuzzer can steer into their branches.
set(VANTREL_INI_FUZZ_SANITIZERS address,undefined)
foreach(lib vantrel_config vantrel_services)
    target_compile_options(${lib} PRIVATE -fsanitize=fuzzer-no-link,${VANTREL_INI_FUZZ_SANITIZERS}
                                          -fno-sanitize-recover=undefined -fno-omit-frame-pointer -O1)
endforeach()

add_executable(ini_fuzz ${CMAKE_CURRENT_LIST_DIR}/ini_fuzz.cpp)
target_link_libraries(ini_fuzz PRIVATE vantrel_config)
target_compile_options(ini_fuzz PRIVATE -fsanitize=fuzzer,${VANTREL_INI_FUZZ_SANITIZERS}
                                        -fno-sanitize-recover=undefined -fno-omit-frame-pointer -O1)
target_link_options(ini_fuzz PRIVATE -fsanitize=fuzzer,${VANTREL_INI_FUZZ_SANITIZERS})
vantrel_warnings(ini_fuzz)
