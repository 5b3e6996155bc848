# Compiles dosat to WebAssembly with Debian's Emscripten, for the web edition:
#
#   cmake -S . -B build/web -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel --toolchain cmake/emscripten.cmake
#
# Emscripten runs node with Debian's JavaScript modules (acorn), which lie in
# /usr/share/nodejs: every compile and link is told so. CTest runs what is built under node.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
set(CMAKE_CXX_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
