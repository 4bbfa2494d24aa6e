# `make package`: a Debian package of the installed tree, its library
# dependencies worked out by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quellix)
set(CPACK_PACKAGE_VENDOR "The Quellix developers")
set(CPACK_PACKAGE_CONTACT "The Quellix developers <maintainers@quellix.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop companion of a fingertip pulse oximeter with memory")
set(CPACK_PACKAGE_DESCRIPTION
    "Quellix downloads the SpO2 and pulse-rate readings of a fingertip pulse oximeter over its USB cable or Bluetooth, shows them as trend, table and analysis pages, prints them, saves and exports them, and sets the device clock or erases it.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QUELLIX_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: the window system
# plugins, the night archive's SQLite driver, and the fonts the pages are laid
# out for.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6sql6-sqlite, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei, qt6-translations-l10n, bluez")
# The CI and test builds package whatever build type they use.
set(CPACK_THREADS 0)
include(CPack)
