# 32-bit Windows: cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-i686.cmake
# A 32-bit program is what loads a board maker's 32-bit library.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(VQ_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
