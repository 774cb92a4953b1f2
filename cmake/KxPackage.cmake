# The Debian package kxreview_<version>_<arch>.deb, made by CPack (scripts/package.sh): what
# a plain install installs (kxrgen, an optional component, stays out), with the copyright and
# changelog files a Debian package carries. The desktop, MIME and icon
# caches are refreshed by the triggers of desktop-file-utils, shared-mime-info and the icon
# theme, so the package needs no maintainer scripts.
set(KX_DEBIAN_DOC ${CMAKE_INSTALL_DATADIR}/doc/kxreview)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/debian/changelog.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/debian
    COMMAND sh -c "${KX_GZIP} -9nc \"$1\" >\"$2\"" sh
            ${PROJECT_SOURCE_DIR}/resources/debian/changelog ${PROJECT_BINARY_DIR}/debian/changelog.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/resources/debian/changelog VERBATIM)
add_custom_target(kxdebianchangelog ALL DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog.gz)
install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/copyright
              ${PROJECT_BINARY_DIR}/debian/changelog.gz
        DESTINATION ${KX_DEBIAN_DOC} COMPONENT debian)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kxreview)
set(CPACK_PACKAGE_VENDOR Velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "KX Review maintainers <maintainers@kxreview.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "replay viewer for recorded worlds of Kexland")
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "KX Review replays the recorded worlds of Kexland, an online strategy game of\n"
    "two teams on a small map of fields: step forward and back through the events\n"
    "or watch them as a slide show, look at the map through each team's eyes,\n"
    "inspect fields and players and read the end-of-world summary. It comes with a\n"
    "record browser, a record library, charts, a map editor and the command-line\n"
    "tool kxrtool. The program speaks Czech.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A viewer for a game's records, not a game: its programs live in /usr/bin.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://kxreview.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: the library's SQLite driver.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libqt6sql6-psql")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
include(CPack)
