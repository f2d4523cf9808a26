# The Debian package of `make package`: everything `cmake --install` puts under the prefix
# (configure with CMAKE_INSTALL_PREFIX=/usr, as the Makefile does).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tectoplan)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Corvana)
set(CPACK_PACKAGE_CONTACT "Corvana <tectoplan@corvana.pl>")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cutting programs for roof insulation panels")
set(CPACK_PACKAGE_DESCRIPTION
  "Tectoplan computes roof insulation panels cut out of foam blocks on a hot-wire
foam-cutting machine. From the panel type (flat, gutter, ridge, single slope,
double slope and their variants), the corner dimensions, the panel length, the
number of layers and the space between them it computes the front and rear
cross-sections and the machine work area, and writes the HPGL cutting program
that the machine's controller runs.

It works in a window (Polish or English), opens .tcj project files from a file
manager, and runs unattended from scripts. tectoplan-view checks and draws a
cutting program before a block is spent.")
# The first package of this version: the package's revision, so that the changelog is the
# Debian one of a package made from upstream's program.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "")
# The libraries the programs link, found by dpkg-shlibdeps; the private core library is the
# package's own. What it cannot see: the Tahoma of the window's design and Qt's translations of
# its dialogs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR})
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wine, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
