# What the two MinGW-w64 toolchain files share; each sets VQ_MINGW_TRIPLET
# (i686-w64-mingw32 or x86_64-w64-mingw32) and includes this file.
#
# Debian's cross compilers in their posix-threads variant (std::thread and
# std::mutex need it), the matching binutils, and Wine to run what they make.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${VQ_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VQ_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VQ_MINGW_TRIPLET}-windres)
# The "-posix" suffix hides the binutils prefix from CMake's own guess.
set(CMAKE_AR /usr/bin/${VQ_MINGW_TRIPLET}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB /usr/bin/${VQ_MINGW_TRIPLET}-ranlib CACHE FILEPATH "")
set(CMAKE_OBJDUMP /usr/bin/${VQ_MINGW_TRIPLET}-objdump CACHE FILEPATH "")
set(CMAKE_STRIP /usr/bin/${VQ_MINGW_TRIPLET}-strip CACHE FILEPATH "")

# Libraries and headers of the target only; programs of the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${VQ_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and the threads library linked in, so that a program
# or board library runs without MinGW's DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Tests run under Wine, in a prefix of their own (VQ_WINE_PREFIX, by default
# wine-prefix/ in the build directory), quiet, and without the .NET and HTML
# engines a fresh prefix would otherwise offer to download.
find_program(VQ_WINE wine)
if(VQ_WINE)
  if(NOT VQ_WINE_PREFIX)
    set(VQ_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
  endif()
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/env WINEPREFIX=${VQ_WINE_PREFIX} WINEDEBUG=-all
                                    WINEDLLOVERRIDES=mscoree,mshtml= ${VQ_WINE})
endif()
