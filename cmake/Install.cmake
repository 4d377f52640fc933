# Installation as a desktop program: the executable, its menu entry, its icon in
# the hicolor theme and the MIME type of list files, so a double-click on a
# list file in a file manager opens it in Morvane; the entries of file managers'
# context menus, the AppStream metadata and the manual page.

include(GNUInstallDirs)
find_package(Qt6 REQUIRED COMPONENTS Gui Svg)

set(MORVANE_ICON_SVG ${CMAKE_SOURCE_DIR}/res/icons/morvane.svg)
set(MORVANE_ICON_SIZES 16 24 32 48 64 128 256)

# The PNG sizes are rendered from the one hand-drawn SVG at build time.
add_executable(morvane-render-icon ${CMAKE_SOURCE_DIR}/tools/RenderIcon.cpp)
target_link_libraries(morvane-render-icon PRIVATE morvane_flags Qt6::Gui Qt6::Svg)

set(MORVANE_ICON_PNGS)
foreach(size IN LISTS MORVANE_ICON_SIZES)
  set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/morvane.png)
  add_custom_command(OUTPUT ${png}
    COMMAND morvane-render-icon ${MORVANE_ICON_SVG} ${png} ${size}
    DEPENDS morvane-render-icon ${MORVANE_ICON_SVG}
    COMMENT "Rendering the ${size}x${size} icon"
    VERBATIM)
  list(APPEND MORVANE_ICON_PNGS ${png})
  install(FILES ${png}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(morvane_icons ALL DEPENDS ${MORVANE_ICON_PNGS})

if(TARGET morvane)
  install(TARGETS morvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${MORVANE_ICON_SVG}
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/res/morvane.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/res/morvane-mime.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME morvane.xml)
# File managers: the entry of Dolphin's context menu, and a script for the scripts menu of
# Nautilus, Caja and Nemo, which each user links into their own scripts folder.
install(FILES ${CMAKE_SOURCE_DIR}/res/morvane-servicemenu.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/kio/servicemenus RENAME morvane.desktop)
install(PROGRAMS ${CMAKE_SOURCE_DIR}/res/morvane-file-manager-script
  DESTINATION ${CMAKE_INSTALL_DATADIR}/morvane RENAME file-manager-script)

# What software centres list. The screenshot is docs/screenshot.png, published on the web site.
set(MORVANE_APPSTREAM_ID org.morvane.morvane CACHE STRING "AppStream component id")
set(MORVANE_HOMEPAGE https://morvane.org CACHE STRING
  "The project's web site, where docs/screenshot.png is published as screenshot.png")
set(MORVANE_METAINFO ${CMAKE_BINARY_DIR}/${MORVANE_APPSTREAM_ID}.metainfo.xml)
configure_file(${CMAKE_SOURCE_DIR}/res/morvane.metainfo.xml.in ${MORVANE_METAINFO} @ONLY)
install(FILES ${MORVANE_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual page, compressed as Debian keeps them.
configure_file(${CMAKE_SOURCE_DIR}/docs/morvane.1.in ${CMAKE_BINARY_DIR}/man/morvane.1 @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/morvane.1.gz
  COMMAND gzip -9nfk ${CMAKE_BINARY_DIR}/man/morvane.1
  DEPENDS ${CMAKE_BINARY_DIR}/man/morvane.1
  COMMENT "Compressing the manual page"
  VERBATIM)
add_custom_target(morvane_manual ALL DEPENDS ${CMAKE_BINARY_DIR}/man/morvane.1.gz)
install(FILES ${CMAKE_BINARY_DIR}/man/morvane.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The licence, where Debian keeps every package's copyright file.
install(FILES ${CMAKE_SOURCE_DIR}/res/copyright
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/morvane)

include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)

# The installed tree is checked by installing the real build into a temporary prefix.
if(MORVANE_TESTS AND TARGET morvane)
  add_test(NAME install_tree
    COMMAND ${CMAKE_SOURCE_DIR}/tests/install/check_install.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(install_tree PROPERTIES TIMEOUT 120 LABELS install)
  add_test(NAME debian_package
    COMMAND ${CMAKE_SOURCE_DIR}/tests/install/check_deb.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(debian_package PROPERTIES TIMEOUT 300 LABELS "install;package")
endif()
