# SPDX-License-Identifier: GPL-3.0-or-later
# `make package`: a Debian package of the installation, its dependencies read from the
# programs' shared libraries (dpkg-shlibdeps). Included from the top-level CMakeLists,
# where CPack must be included.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varga-map-maker)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${VMM_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Loaded as plug-ins, so dpkg-shlibdeps cannot see them: the catalogue needs SQLite.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-image-formats-plugins")
# Lines of the long description stay within 80 columns, as Debian policy asks.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "editor for the battle maps of a tactical wargame
Varga Map Maker imports a picture of a battlefield, lets the map maker paint
a terrain element and a height onto every 10 x 10-pixel Sector of its
40 x 40-pixel Quad grid, and exports the map text file the game loads (Varga
and Tolle editions) and pictures of the painted Terrain and Elevation maps.
.
The package also holds varga-map, a command-line tool that renders, converts,
checks and bulk-edits map files without a display, and a sample picture.")
include(CPack)
