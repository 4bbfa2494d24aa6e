# SPDX-License-Identifier: GPL-3.0-or-later
# `make package`: a Debian package of the installed tree, its library
# dependencies worked out by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quellix)
set(CPACK_PACKAGE_VENDOR "The Quellix developers")
set(CPACK_PACKAGE_CONTACT "The Quellix developers <maintainers@quellix.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop companion of a fingertip pulse oximeter with memory")
# Debian shows the description as it stands: lines below 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Quellix downloads the SpO2 and pulse-rate readings of a fingertip pulse
oximeter over its USB cable or Bluetooth, shows them as trend, table and
analysis pages, prints them, saves and exports them (text, spreadsheet, CSV,
EDF+), and sets the device clock or erases it.
.
quellix-cli does the same from the command line; oxisim plays a simulated
oximeter to try the program and to replay the dump of a download.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QUELLIX_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: the window system
# plugins, the night archive's SQLite driver (loaded at run time, so the
# packager cannot see it), the fonts the pages are laid out for, and the icon
# theme the window's icon is looked up in.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6sql6-sqlite, fonts-liberation2, hicolor-icon-theme")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei, qt6-translations-l10n, bluez")
# The CI and test builds package whatever build type they use.
set(CPACK_THREADS 0)
include(CPack)
