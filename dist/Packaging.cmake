# The program as a desktop application: install rules (GNUInstallDirs) and a Debian package.
# Included by app/CMakeLists.txt once the target quorlis exists.

set(QUORLIS_APP_ID org.quorlis.quorlis)
set(dist_dir ${CMAKE_CURRENT_LIST_DIR})

install(TARGETS quorlis RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The compilers' version notes serve nobody at run time; Debian's own stripping removes them too
# (the plain strip of an install or package keeps them).
add_custom_command(TARGET quorlis POST_BUILD
  COMMAND ${CMAKE_OBJCOPY} --remove-section=.comment $<TARGET_FILE:quorlis> VERBATIM)
install(FILES ${dist_dir}/${QUORLIS_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${dist_dir}/${QUORLIS_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The cable list's file type, which the desktop entry opens; Debian's shared-mime-info rebuilds its
# database when the package is installed (after cmake --install, update-mime-database does it).
install(FILES ${dist_dir}/quorlis-cable-list.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME quorlis.xml)
foreach(size ${QUORLIS_ICON_SIZES})
  install(FILES ${QUORLIS_ICON_DIR}/quorlis-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME quorlis.png)
endforeach()
install(FILES ${QUORLIS_ICON_DIR}/quorlis.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# What Debian users find beside the program: the manual page, the copyright, the changelog (a native
# package's, gzipped as Debian wants it: at the highest level and without a time stamp) and a sample
# list.
find_program(QUORLIS_GZIP gzip REQUIRED)
set(quorlis_gzipped)
foreach(file quorlis.1 changelog)
  add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${file}.gz
    COMMAND ${QUORLIS_GZIP} -9nc ${dist_dir}/${file} > ${CMAKE_CURRENT_BINARY_DIR}/${file}.gz
    DEPENDS ${dist_dir}/${file} VERBATIM)
  list(APPEND quorlis_gzipped ${CMAKE_CURRENT_BINARY_DIR}/${file}.gz)
endforeach()
add_custom_target(quorlis_docs ALL DEPENDS ${quorlis_gzipped})
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/quorlis)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/quorlis.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${dist_dir}/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${doc_dir})
install(FILES ${PROJECT_SOURCE_DIR}/docs/CableList.ini DESTINATION ${doc_dir}/examples)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorlis)
set(CPACK_PACKAGE_VENDOR "Quorlis")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for a list of cable types and their electrical data")
# Lines of at most 80 characters, as Debian's tools want them.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Quorlis edits a cable list: a table of cable types, each with a name,\n"
  "a velocity, a cable loss and a frequency in MHz, kept in a plain text\n"
  "file (CableList.ini) that other tools read.")
set(CPACK_PACKAGE_CONTACT "Quorlis maintainers <maintainers@quorlis.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The shared libraries come from dpkg-shlibdeps; Qt loads its display plugin (xcb, wayland) at run
# time, which no library dependency names.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Qt's platform plugin for Wayland sessions without X.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
