# `cpack -G DEB` in the build folder makes morvane_<version>_<arch>.deb that
# installs into /usr and depends on Debian's Qt 6 runtime packages.

set(CPACK_PACKAGE_NAME morvane)
set(CPACK_PACKAGE_VENDOR "Morvane")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rename many files and folders at once (Japanese interface)")
set(CPACK_PACKAGE_DESCRIPTION "Morvane registers files and folders in one list, lets you edit their new\n\
names one by one or all together in any text editor, checks every name as it\n\
changes (forbidden characters, blanks, collisions with other names) and renames\n\
only when told to. Chains and swaps of names are resolved through temporary\n\
names; an existing file is never overwritten. The user interface is Japanese.")
set(CPACK_PACKAGE_CONTACT "Morvane developers <morvane@localhost>")
set(MORVANE_MAINTAINER "${CPACK_PACKAGE_CONTACT}" CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${MORVANE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt libraries (libqt6widgets6, libqt6gui6, libqt6core6, libqt6svg6) and libc
# come from dpkg-shlibdeps; what the program loads at run time without linking it
# is listed by hand: the platform plugins, Qt's Japanese texts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, xdg-utils")

include(CPack)
