# A Windows build made on Debian with MinGW-w64 (cmake/toolchains/): what it
# leaves out and why, and the test framework it builds for itself.
#
# Built: everything under src/core/, the simulated board as KVL_CYUSB_USB4.dll
# and USBFunctions.dll with VQ8231.hex, their GoogleTest tests, the Windows
# tests of tests/windows/ and the ZIP (cmake/VqWindowsPackage.cmake).
message(STATUS "Windows build with MinGW-w64: the window (src/gui/, tools/, the widget and layering tests) "
               "and the libusb board libraries (src/boards/usbboard/) are left out, since Debian has no Qt "
               "and no libusb built for MinGW; on Windows a real board is reached through the board maker's "
               "library. Everything else is built.")

# Debian ships GoogleTest as sources for exactly this: built here with the
# cross compiler, linked statically like everything else.
set(VQ_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources (Debian package googletest)")
if(VQ_BUILD_TESTS)
  if(NOT EXISTS ${VQ_GOOGLETEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "The Windows tests build GoogleTest from ${VQ_GOOGLETEST_SOURCE}: "
                        "apt-get install googletest (scripts/check-windows.sh installs it)")
  endif()
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${VQ_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()
