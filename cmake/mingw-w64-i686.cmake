# Cross-compiles dosat for 32-bit Windows with Debian's MinGW-w64, and runs what it
# builds under 32-bit wine, in a 32-bit prefix as on 32-bit Windows:
#
#   cmake -S . -B build/win32 -G Ninja --toolchain cmake/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_PROCESSOR i686)
set(dosat_mingw_triple i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
