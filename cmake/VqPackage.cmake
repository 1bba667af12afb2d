# The Debian package: `cpack -G DEB` in the build directory makes
# vq8231_<version>_<architecture>.deb. What it installs (prefix /usr):
#
#   lib/vq8231/usb/    both programs on the libusb board libraries; the user
#                      puts the board maker's VQ8231.hex here
#   lib/vq8231/demo/   both programs on the simulated board, with its image
#   lib/udev/rules.d/70-vq8231.rules   from the configured identifiers
#   bin/vq8231, bin/vq8231-v1, bin/vq8231-demo   launchers
#   bin/vq8231ctl, bin/vq8231ctl-demo   vq8231ctl on a real and the simulated board
#   share/man/man1/vq8231ctl.1.gz, vq8231ctl-demo.1.gz
#   share/applications/vq8231*.desktop, share/icons/hicolor/<n>x<n>/apps/vq8231.png
#   share/doc/vq8231/README.md, vq8231ctl.md, copyright, changelog.gz
#
# Each program directory is what build/usb/ and build/bin/ hold: a program
# finds its library and firmware beside itself, so it runs there as it runs
# in the build tree. See packaging/README.md.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux" OR NOT TARGET vq_usb_usb4)
  return()
endif()

set(VQ_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(VQ_PACKAGE_BUILD_DIR ${CMAKE_BINARY_DIR}/packaging)
set(VQ_PROGRAM_ROOT lib/vq8231)

# The icon files, rendered from the icon the program draws.
add_executable(vq_render_icons ${VQ_PACKAGING_DIR}/render_icons.cpp)
target_link_libraries(vq_render_icons PRIVATE vq_windows Qt6::Gui)
set(VQ_ICON_SIZES 16 32 48 64 128 256)
set(VQ_ICON_DIR ${VQ_PACKAGE_BUILD_DIR}/icons)
set(VQ_ICON_FILES)
foreach(size ${VQ_ICON_SIZES})
  list(APPEND VQ_ICON_FILES ${VQ_ICON_DIR}/${size}x${size}/apps/vq8231.png)
endforeach()
add_custom_command(
  OUTPUT ${VQ_ICON_FILES}
  # A build-time tool: no display, and a sanitized build's tool need not
  # account for Qt's own allocations at exit.
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:vq_render_icons> ${VQ_ICON_DIR} ${VQ_ICON_SIZES}
  DEPENDS vq_render_icons
  COMMENT "Rendering the program icon for the icon theme"
  VERBATIM
)
add_custom_target(vq_package_icons ALL DEPENDS ${VQ_ICON_FILES})

# Launchers on the PATH.
function(vq_add_launcher name what target)
  set(VQ_LAUNCHER_WHAT "${what}")
  set(VQ_LAUNCHER_TARGET "${target}")
  configure_file(${VQ_PACKAGING_DIR}/launcher.sh.in ${VQ_PACKAGE_BUILD_DIR}/bin/${name} @ONLY)
  install(PROGRAMS ${VQ_PACKAGE_BUILD_DIR}/bin/${name} DESTINATION bin)
endfunction()
vq_add_launcher(vq8231 "VQ8231(version2) on a real board" "usb/VQ8231(version2)")
vq_add_launcher(vq8231-v1 "VQ8231, the earlier build, on a real board" "usb/VQ8231")
vq_add_launcher(vq8231-demo "VQ8231(version2) on the simulated board" "demo/VQ8231(version2)")
vq_add_launcher(vq8231ctl "vq8231ctl on a real board" "usb/vq8231ctl")
vq_add_launcher(vq8231ctl-demo "vq8231ctl on the simulated board" "demo/vq8231ctl")

# The program directories.
install(TARGETS vq8231_v2 vq8231_earlier vq8231ctl RUNTIME DESTINATION ${VQ_PROGRAM_ROOT}/usb)
install(TARGETS vq_usb_usb4 vq_usb_usbfunctions LIBRARY DESTINATION ${VQ_PROGRAM_ROOT}/usb NAMELINK_SKIP)
install(TARGETS vq8231_v2 vq8231_earlier vq8231ctl RUNTIME DESTINATION ${VQ_PROGRAM_ROOT}/demo)
install(TARGETS vq_sim_usb4 vq_sim_usbfunctions LIBRARY DESTINATION ${VQ_PROGRAM_ROOT}/demo NAMELINK_SKIP)
install(FILES ${CMAKE_BINARY_DIR}/bin/VQ8231.hex DESTINATION ${VQ_PROGRAM_ROOT}/demo)

# The udev rule, the menu entries and the icons.
install(FILES ${CMAKE_BINARY_DIR}/usb/70-vq8231.rules DESTINATION lib/udev/rules.d)
install(FILES ${VQ_PACKAGING_DIR}/vq8231.desktop ${VQ_PACKAGING_DIR}/vq8231-v1.desktop
              ${VQ_PACKAGING_DIR}/vq8231-demo.desktop DESTINATION share/applications)
foreach(size ${VQ_ICON_SIZES})
  install(FILES ${VQ_ICON_DIR}/${size}x${size}/apps/vq8231.png DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()

# The documentation directory: the README, the copyright file and the
# changelog, compressed as Debian keeps it.
set(VQ_CHANGELOG_GZ ${VQ_PACKAGE_BUILD_DIR}/doc/changelog.gz)
add_custom_command(
  OUTPUT ${VQ_CHANGELOG_GZ}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VQ_PACKAGE_BUILD_DIR}/doc
  COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" gzip ${VQ_PACKAGING_DIR}/changelog ${VQ_CHANGELOG_GZ}
  DEPENDS ${VQ_PACKAGING_DIR}/changelog
  COMMENT "Compressing the package's changelog"
  VERBATIM
)
add_custom_target(vq_package_changelog ALL DEPENDS ${VQ_CHANGELOG_GZ})
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/docs/vq8231ctl.md ${VQ_PACKAGING_DIR}/copyright
              ${VQ_CHANGELOG_GZ} DESTINATION share/doc/vq8231)

# vq8231ctl's man page, compressed; vq8231ctl-demo's sends the reader to it.
set(VQ_MAN_DIR ${VQ_PACKAGE_BUILD_DIR}/man)
set(VQ_VERSION ${PROJECT_VERSION})
configure_file(${VQ_PACKAGING_DIR}/vq8231ctl.1 ${VQ_MAN_DIR}/vq8231ctl.1 @ONLY)
file(WRITE ${VQ_MAN_DIR}/vq8231ctl-demo.1 ".so man1/vq8231ctl.1\n")
add_custom_command(
  OUTPUT ${VQ_MAN_DIR}/vq8231ctl.1.gz ${VQ_MAN_DIR}/vq8231ctl-demo.1.gz
  COMMAND sh -c "for page; do gzip -9n -c \"$page\" > \"$page.gz\"; done" gzip ${VQ_MAN_DIR}/vq8231ctl.1
          ${VQ_MAN_DIR}/vq8231ctl-demo.1
  DEPENDS ${VQ_MAN_DIR}/vq8231ctl.1 ${VQ_MAN_DIR}/vq8231ctl-demo.1
  COMMENT "Compressing vq8231ctl's man pages"
  VERBATIM
)
add_custom_target(vq_package_man ALL DEPENDS ${VQ_MAN_DIR}/vq8231ctl.1.gz ${VQ_MAN_DIR}/vq8231ctl-demo.1.gz)
install(FILES ${VQ_MAN_DIR}/vq8231ctl.1.gz ${VQ_MAN_DIR}/vq8231ctl-demo.1.gz DESTINATION share/man/man1)

# After installing, a running udev applies the rule to a board already
# plugged in. No postrm: udev notices a rule file gone by itself, and a package
# without one (and without conffiles) leaves not even its dpkg record after
# `apt remove`.
vq_udev_id(VQ_UDEV_VENDOR ${VQ_USB_VENDOR_ID})
vq_udev_id(VQ_UDEV_PRODUCT ${VQ_USB_PRODUCT_ID})
configure_file(${VQ_PACKAGING_DIR}/postinst.in ${VQ_PACKAGE_BUILD_DIR}/control/postinst @ONLY)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vq8231)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "VQ8231 evaluation program developers")
set(CPACK_PACKAGE_CONTACT "VQ8231 evaluation program developers <vq8231-dev@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "evaluation program for the VQ8231 four-channel 16-bit DAC board")
# Body lines wrapped for the control file; CPack indents them and turns the
# empty ones into " .".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Sets the VQ8231 evaluation board's registers, output voltages and
control lines, reads registers back, calibrates a channel against a
voltmeter and reads the die temperature.

Real board: vq8231, or vq8231-v1 for the earlier build. Put the board
maker's firmware image VQ8231.hex into /usr/lib/vq8231/usb/, beside the
programs; the package does not carry one. The udev rule it installs lets
the user at the seat and the plugdev group open boards with the USB
identifiers ${VQ_USB_VENDOR_ID}:${VQ_USB_PRODUCT_ID}.

Without a board: vq8231-demo runs the program on a simulated board.

vq8231ctl (vq8231ctl-demo on the simulated board) runs SCPI commands from
the shell or a script, or serves them on a socket for lab software.")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Dependencies from the binaries (dpkg-shlibdeps). The programs reach their
# board libraries with dlopen only and the libraries need only system ones;
# the private directory is named anyway so that a private library a program
# should ever link is resolved rather than refused.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/usb)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${VQ_PACKAGE_BUILD_DIR}/control/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_STRIP_FILES TRUE)
include(CPack)
