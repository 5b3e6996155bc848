# What the MinGW-w64 toolchain files share; each sets dosat_mingw_triple (the target
# triple of Debian's cross compiler) and CMAKE_SYSTEM_PROCESSOR first.
set(CMAKE_SYSTEM_NAME Windows)

# The win32 thread model: the program has one thread, and the posix model links in
# winpthreads, whose Debian build imports GetTickCount64, which Windows XP lacks.
# GoogleTest is then built without its locks (tests/CMakeLists.txt).
set(CMAKE_C_COMPILER ${dosat_mingw_triple}-gcc-win32)
set(CMAKE_CXX_COMPILER ${dosat_mingw_triple}-g++-win32)
set(CMAKE_RC_COMPILER ${dosat_mingw_triple}-windres)

# Libraries and headers come from the MinGW sysroot only; programs from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${dosat_mingw_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static libstdc++ and libgcc: the .exe runs on a bare Windows with no
# MinGW DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# CTest and add_custom_command run the .exe files under this build's private wine.
get_filename_component(dosat_wine_run ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${dosat_wine_run} --wine-dir=${CMAKE_BINARY_DIR}/wine)
