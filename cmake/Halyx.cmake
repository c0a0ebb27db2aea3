# Build helpers shared by every folder.
#
#   halyx_library(NAME name SRCS a.cpp ... DEPS halyx::x ...)   -> static library halyx::name
#   halyx_test(NAME name SRCS a_test.cpp ... DEPS halyx::x ...) -> one GoogleTest binary under CTest
#   halyx_bench(NAME name SRCS ... DEPS ...)                   -> one Google Benchmark binary

set(HALYX_WARNINGS -Wall -Wextra)
if(HALYX_WERROR)
    list(APPEND HALYX_WARNINGS -Werror)
endif()

if(HALYX_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

if(HALYX_BUILD_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# Adds each listed folder that has a CMakeLists.txt of its own; folders are filled in issue by issue.
function(halyx_add_folders)
    foreach(dir IN LISTS ARGN)
        if(EXISTS ${PROJECT_SOURCE_DIR}/${dir}/CMakeLists.txt)
            add_subdirectory(${PROJECT_SOURCE_DIR}/${dir} ${PROJECT_BINARY_DIR}/${dir})
        endif()
    endforeach()
endfunction()

function(halyx_library)
    cmake_parse_arguments(L "INTERFACE" "NAME" "SRCS;DEPS" ${ARGN})
    set(target halyx_${L_NAME})
    if(L_INTERFACE OR NOT L_SRCS)
        add_library(${target} INTERFACE)
        target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR}
                                                       ${PROJECT_SOURCE_DIR}/platform)
        if(L_DEPS)
            target_link_libraries(${target} INTERFACE ${L_DEPS})
        endif()
    else()
        add_library(${target} STATIC ${L_SRCS})
        target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}
                                                    ${PROJECT_SOURCE_DIR}/platform)
        target_compile_options(${target} PRIVATE ${HALYX_WARNINGS})
        if(L_DEPS)
            target_link_libraries(${target} PUBLIC ${L_DEPS})
        endif()
    endif()
    add_library(halyx::${L_NAME} ALIAS ${target})
endfunction()

function(halyx_test)
    cmake_parse_arguments(T "" "NAME" "SRCS;DEPS" ${ARGN})
    set(target ${T_NAME}_test)
    add_executable(${target} ${T_SRCS})
    target_compile_options(${target} PRIVATE ${HALYX_WARNINGS})
    target_compile_definitions(${target} PRIVATE
        HALYX_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        HALYX_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
        HALYX_BINARY_DIR="${PROJECT_BINARY_DIR}")
    target_link_libraries(${target} PRIVATE ${T_DEPS} GTest::gtest GTest::gtest_main)
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 600)
endfunction()

function(halyx_bench)
    cmake_parse_arguments(B "" "NAME" "SRCS;DEPS" ${ARGN})
    find_package(benchmark REQUIRED)
    add_executable(${B_NAME}_bench ${B_SRCS})
    target_compile_options(${B_NAME}_bench PRIVATE ${HALYX_WARNINGS})
    target_link_libraries(${B_NAME}_bench PRIVATE ${B_DEPS} benchmark::benchmark)
endfunction()

# halyx_fuzzer(NAME name SRCS x_fuzz.cpp DEPS ... [CORPUS dir...])
#
# A fuzz target defines LLVMFuzzerTestOneInput. It is always built as a replay program that CTest runs
# (test fuzz.NAME) over the seed corpus, the inputs kept in tests/data/fuzz-regressions/NAME/ and a
# fixed set of mutated inputs, so every target runs in the normal and the sanitizer builds. With
# -DHALYX_BUILD_FUZZ=ON and clang it is also built as a libFuzzer binary, NAME_fuzzer, for real
# fuzzing runs.
function(halyx_fuzzer)
    cmake_parse_arguments(F "" "NAME" "SRCS;DEPS;CORPUS" ${ARGN})
    add_executable(${F_NAME}_fuzz_replay ${F_SRCS} ${PROJECT_SOURCE_DIR}/fuzz/FuzzReplayMain.cpp)
    target_compile_options(${F_NAME}_fuzz_replay PRIVATE ${HALYX_WARNINGS})
    target_link_libraries(${F_NAME}_fuzz_replay PRIVATE ${F_DEPS})
    set(corpus)
    foreach(dir IN LISTS F_CORPUS)
        if(IS_ABSOLUTE ${dir})
            list(APPEND corpus ${dir})
        else()
            list(APPEND corpus ${PROJECT_SOURCE_DIR}/${dir})
        endif()
    endforeach()
    # Inputs that once made this target fail stay in its replay, as regression tests.
    if(EXISTS ${PROJECT_SOURCE_DIR}/tests/data/fuzz-regressions/${F_NAME})
        list(APPEND corpus ${PROJECT_SOURCE_DIR}/tests/data/fuzz-regressions/${F_NAME})
    endif()
    add_test(NAME fuzz.${F_NAME} COMMAND ${F_NAME}_fuzz_replay ${corpus})
    set_tests_properties(fuzz.${F_NAME} PROPERTIES TIMEOUT 900)
    if(HALYX_BUILD_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        add_executable(${F_NAME}_fuzzer ${F_SRCS})
        target_compile_options(${F_NAME}_fuzzer PRIVATE -fsanitize=fuzzer)
        target_link_options(${F_NAME}_fuzzer PRIVATE -fsanitize=fuzzer)
        target_link_libraries(${F_NAME}_fuzzer PRIVATE ${F_DEPS})
    endif()
endfunction()

# halyx_plugin_host(TARGET): a program that loads the plug-in. The plug-in takes the platform's
# services from the program, so the program carries every platform library whole and exports its
# symbols.
function(halyx_plugin_host target)
    if(NOT HALYX_PLUGIN_HOST_LIBRARIES)
        return()
    endif()
    set(host_archives)
    foreach(library IN LISTS HALYX_PLUGIN_HOST_LIBRARIES)
        list(APPEND host_archives $<TARGET_FILE:${library}>)
    endforeach()
    target_link_options(${target} PRIVATE -Wl,--whole-archive ${host_archives}
                                          -Wl,--no-whole-archive)
    target_link_libraries(${target} PRIVATE ${HALYX_PLUGIN_HOST_LIBRARIES})
    set_target_properties(${target} PROPERTIES ENABLE_EXPORTS ON)
endfunction()
