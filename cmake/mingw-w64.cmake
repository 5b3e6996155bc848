# Cross-compiles dosat for 64-bit Windows with Debian's MinGW-w64, and runs what it
# builds under wine:
#
#   cmake -S . -B build/win -G Ninja --toolchain cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triple x86_64-w64-mingw32)
# The posix thread model: the win32 one has no std::mutex, which GoogleTest needs.
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

# Libraries and headers come from the MinGW sysroot only; programs from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static libstdc++, libgcc and winpthread: the .exe runs on a bare Windows with no
# MinGW DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# CTest and add_custom_command run the .exe files under this build's private wine.
get_filename_component(dosat_wine_run ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${dosat_wine_run} --wine-dir=${CMAKE_BINARY_DIR}/wine)
