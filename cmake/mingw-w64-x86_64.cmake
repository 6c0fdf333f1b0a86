# Cross-compiles for 64-bit Windows with Debian's mingw-w64, the variant with POSIX threads that
# std::thread needs. Executables are linked statically, so that each runs on its own under Wine
# or on Windows without the compiler's DLLs beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triplet}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Said outright rather than left to the linker's defaults, which have changed: programs loaded at
# a random address anywhere in 64 bits, their data never run (scripts/windows-pe-check.py).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--dynamicbase -Wl,--high-entropy-va -Wl,--nxcompat")
# CTest runs the test executables under Wine, in a prefix of the build directory's own.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine.sh ${CMAKE_BINARY_DIR}/wine)

# CLI11 and nlohmann-json are header-only, so Debian's packages serve this compiler too. They are
# found in a prefix that holds only them: /usr/include itself would put Linux's C headers ahead
# of mingw-w64's.
set(header_only_prefix ${CMAKE_BINARY_DIR}/header-only/usr)
foreach(part include/CLI include/nlohmann share/cmake/CLI11 share/cmake/nlohmann_json)
    if(NOT EXISTS ${header_only_prefix}/${part})
        get_filename_component(parent ${header_only_prefix}/${part} DIRECTORY)
        file(MAKE_DIRECTORY ${parent})
        file(CREATE_LINK /usr/${part} ${header_only_prefix}/${part} SYMBOLIC)
    endif()
endforeach()
list(APPEND CMAKE_FIND_ROOT_PATH ${CMAKE_BINARY_DIR}/header-only)
