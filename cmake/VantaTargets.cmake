# Helpers that give every target of our own the same warnings and layering.

set(VANTA_WARNINGS -Wall -Wextra -Werror)

# vanta_library(<name> SOURCES ... [DEPS ...] [PRIVATE_DEPS ...])
# One static library per source folder. DEPS are the lower layers (and external
# libraries) that the folder's headers expose; linking only downwards keeps the
# layers honest.
function(vanta_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE ${VANTA_WARNINGS})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()

function(vanta_executable name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE ${VANTA_WARNINGS})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS})
endfunction()

# vanta_test(<name> SOURCES ... DEPS ... [PRIVATE_TMP])
# A GoogleTest executable whose cases ctest runs one by one, each in a mount
# namespace of its own with an empty /dev/shm, so that what the code under test
# logs lands in a shared-memory log of its own and never in the machine's.
# PRIVATE_TMP gives every case an empty /tmp as well, for code that uses the
# daemon's fixed /tmp endpoints.
function(vanta_test name)
    cmake_parse_arguments(ARG "PRIVATE_TMP" "" "SOURCES;DEPS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE ${VANTA_WARNINGS})
    # Instrumented for a sanitizer, the standard library's std::regex draws
    # GCC's false "may be used uninitialized".
    if(VANTA_SANITIZE AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        target_compile_options(${name} PRIVATE -Wno-maybe-uninitialized)
    endif()
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gmock_main)
    set(private "${PROJECT_SOURCE_DIR}/scripts/in-private-tmp.sh")
    if(NOT ARG_PRIVATE_TMP)
        list(APPEND private --shm-only)
    endif()
    # A cross build's tests run under its emulator, inside the private runner.
    list(APPEND private ${CMAKE_CROSSCOMPILING_EMULATOR})
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${private}")
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
endfunction()

# vanta_program_path(<variable> <target>): the path a test runs <target> by.
# In a cross build that is a small script next to the build's programs that
# starts the target under the build's emulator (the program keeps the
# script's process id, so signals reach it).
function(vanta_program_path variable target)
    if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
        set(${variable} "$<TARGET_FILE:${target}>" PARENT_SCOPE)
        return()
    endif()
    set(script ${CMAKE_BINARY_DIR}/emulated/${target})
    get_property(generated GLOBAL PROPERTY VANTA_EMULATED_PROGRAMS)
    if(NOT target IN_LIST generated)
        set_property(GLOBAL APPEND PROPERTY VANTA_EMULATED_PROGRAMS ${target})
        list(JOIN CMAKE_CROSSCOMPILING_EMULATOR " " emulator)
        file(GENERATE OUTPUT ${script}
             CONTENT "#!/bin/sh\nexec ${emulator} \"$<TARGET_FILE:${target}>\" \"$@\"\n"
             FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                              WORLD_READ WORLD_EXECUTE)
    endif()
    set(${variable} ${script} PARENT_SCOPE)
endfunction()
