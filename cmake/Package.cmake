# `make package`: one .deb for Debian 12 and its derivatives, installing under /usr. The
# program keeps its data in ~/.local/share/Pandrel/, seeded from share/pandrel/ on first start.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pandrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Pandrel developers")
set(CPACK_PACKAGE_CONTACT "Pandrel developers <maintainers@users.noreply.c-seed-4c322c1f.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop organiser for office workers and salespeople")
set(CPACK_PACKAGE_DESCRIPTION "Work items with reminders and rich-text bodies, a small client register
with contacts, activities and sales follow-ups, an address book, a lunar
calendar, world clocks and desk tools, scheduled backups and spreadsheet
export, all kept in one encrypted local database file. Chinese interface.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Chinese glyphs, Qt's own texts in Chinese, and typing Chinese through fcitx5.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fcitx5-frontend-qt6, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)

configure_file(${CMAKE_SOURCE_DIR}/assets/debian/changelog ${CMAKE_BINARY_DIR}/debian/changelog.Debian @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/assets/debian/Pandrel.1 ${CMAKE_BINARY_DIR}/debian/Pandrel.1 COPYONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz ${CMAKE_BINARY_DIR}/debian/Pandrel.1.gz
    COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/debian/changelog.Debian ${CMAKE_BINARY_DIR}/debian/Pandrel.1
    DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.Debian ${CMAKE_BINARY_DIR}/debian/Pandrel.1
    VERBATIM)
add_custom_target(package_docs ALL DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz ${CMAKE_BINARY_DIR}/debian/Pandrel.1.gz)
install(FILES ${CMAKE_SOURCE_DIR}/assets/debian/copyright ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pandrel)
install(FILES ${CMAKE_BINARY_DIR}/debian/Pandrel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

include(CPack)
