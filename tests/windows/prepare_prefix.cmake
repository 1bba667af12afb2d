# Puts the simulated four-operation library where the program looks for the
# board maker's: at its absolute path inside the test's own Wine prefix.
#   cmake -DPREFIX=<Wine prefix> -DLIBRARY=<KVL_CYUSB_USB4.dll> -P prepare_prefix.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT IS_DIRECTORY "${PREFIX}/drive_c")
  message(FATAL_ERROR "No Wine prefix at ${PREFIX}: scripts/check-windows.sh makes one and starts its server "
                      "(by hand: WINEPREFIX=${PREFIX} wineserver -p; WINEPREFIX=${PREFIX} wineboot --init)")
endif()
set(directory "${PREFIX}/drive_c/Program Files/Korvell/USB Drivers")
file(MAKE_DIRECTORY "${directory}")
file(COPY_FILE "${LIBRARY}" "${directory}/KVL_CYUSB_USB4.dll" ONLY_IF_DIFFERENT)
message(STATUS "Test prefix ${PREFIX}: ${LIBRARY} placed in ${directory}")
