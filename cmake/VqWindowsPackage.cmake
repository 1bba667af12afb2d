# The ZIP for Windows users: `cpack -G ZIP` in a Windows build makes
# vq8231-<version>-win32.zip (win64 from the 64-bit build), holding
#
#   README.txt       what is in it and how to use it, in a few lines
#   demo/            the simulated board: KVL_CYUSB_USB4.dll, USBFunctions.dll
#                    and the VQ8231.hex they accept
#   vq8231ctl.exe    the command-line program
#
# Nothing is installed on the user's machine: the files run where the ZIP is
# unpacked. VQ_ZIP_FILES lists them for the package test.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(VQ_WINDOWS_BITS 32)
else()
  set(VQ_WINDOWS_BITS 64)
endif()

# The libraries, stripped by cpack; their import libraries are for linking,
# not for users, and stay out of the ZIP.
install(TARGETS vq_sim_usb4 vq_sim_usbfunctions RUNTIME DESTINATION demo ARCHIVE DESTINATION lib EXCLUDE_FROM_ALL)
install(FILES ${CMAKE_BINARY_DIR}/bin/VQ8231.hex DESTINATION demo)
install(TARGETS vq8231ctl RUNTIME DESTINATION .)
set(VQ_ZIP_FILES README.txt vq8231ctl.exe demo/KVL_CYUSB_USB4.dll demo/USBFunctions.dll demo/VQ8231.hex)

# A text Notepad shows as written: Windows line ends.
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows-readme.txt.in ${CMAKE_BINARY_DIR}/packaging/README.txt
               @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/packaging/README.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME vq8231)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "VQ8231 evaluation program developers")
# include(CPack) leaves its source package's name in CPACK_PACKAGE_FILE_NAME:
# the test takes the ZIP's from VQ_ZIP_NAME.
set(VQ_ZIP_NAME vq8231-${PROJECT_VERSION}-win${VQ_WINDOWS_BITS})
set(CPACK_PACKAGE_FILE_NAME ${VQ_ZIP_NAME})
set(CPACK_STRIP_FILES TRUE)
include(CPack)
