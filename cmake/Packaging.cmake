# The Debian package: `cpack -G DEB` in a build folder writes
# wattrix_<version>_<arch>.deb with everything `cmake --install` installs,
# under /usr. The programs find their data through <exe>/../share/wattrix,
# so the package works whatever prefix the build was configured for.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wattrix)
set(CPACK_PACKAGE_VENDOR Kelvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop software for Kelvane RF power sensors")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Kelvane Wattrix team <wattrix@kelvane.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "desktop software for Kelvane RF power sensors\n"
    "Wattrix drives a directional or terminating RF power sensor over USB or a\n"
    "serial port: live read-outs, analog gauges and graphs of average, peak and\n"
    "pulse power, VSWR, return loss and PAR; CCDF statistics; limits with an\n"
    "audible alarm; history files with CSV, bitmap and PDF report export; and\n"
    "unattended logging in the sensor.\n"
    ".\n"
    "The package also holds wattrix-cli, for test benches and batch work, and\n"
    "wattrix-sim, a simulated sensor of every model.")
# Libraries from the programs' own links (Qt's X11 platform plugin comes with
# libqt6gui6); what is found at run time by name is named here: the
# metric-compatible fonts the panels and gauges are drawn with, the opener of
# the manual, the alarm sounds, and the native Wayland platform.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, sound-theme-freedesktop, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "evince | okular | qpdfview | pdf-viewer")

include(CPack)
