# The program as a desktop application: install rules (GNUInstallDirs) and a Debian package.
# Included by app/CMakeLists.txt once the target quorlis exists.

set(QUORLIS_APP_ID org.quorlis.Quorlis)
set(dist_dir ${CMAKE_CURRENT_LIST_DIR})

install(TARGETS quorlis RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${dist_dir}/${QUORLIS_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${dist_dir}/${QUORLIS_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size ${QUORLIS_ICON_SIZES})
  install(FILES ${QUORLIS_ICON_DIR}/quorlis-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME quorlis.png)
endforeach()
install(FILES ${QUORLIS_ICON_DIR}/quorlis.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorlis)
set(CPACK_PACKAGE_VENDOR "Quorlis")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for a list of cable types and their electrical data")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Quorlis edits a cable list: a table of cable types, each with a name, a velocity, a cable loss\n"
  "and a frequency in MHz, kept in a plain text file (CableList.ini) that other tools read.")
set(CPACK_PACKAGE_CONTACT "Quorlis maintainers <maintainers@quorlis.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The shared libraries come from dpkg-shlibdeps; Qt loads its display plugin (xcb, wayland) at run
# time, which no library dependency names.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
include(CPack)
