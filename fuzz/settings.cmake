# The settings reader over arbitrary file contents, with the in-memory file system of the tests.
add_executable(settings_fuzz ${CMAKE_CURRENT_LIST_DIR}/settings_fuzz.cpp)
target_link_libraries(settings_fuzz PRIVATE vantrel_config)
target_include_directories(settings_fuzz PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_options(settings_fuzz PRIVATE -fsanitize=fuzzer,${VANTREL_INI_FUZZ_SANITIZERS}
                                             -fno-sanitize-recover=undefined -fno-omit-frame-pointer -O1)
target_link_options(settings_fuzz PRIVATE -fsanitize=fuzzer,${VANTREL_INI_FUZZ_SANITIZERS})
vantrel_warnings(settings_fuzz)
