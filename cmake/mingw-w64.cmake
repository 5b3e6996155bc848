# Cross-compiles dosat for 64-bit Windows with Debian's MinGW-w64, and runs what it
# builds under wine:
#
#   cmake -S . -B build/win -G Ninja --toolchain cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(dosat_mingw_triple x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
