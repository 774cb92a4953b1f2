# Install rules: the programs, the desktop entry, the MIME package for both record formats,
# the icons of the program and of the record types, the AppStream metainfo and the manual
# pages. kxrgen, the record generator, is the optional component "generator":
#   cmake --install build --component generator
include(GNUInstallDirs)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(KX_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/resources/desktop)
set(KX_APPSTREAM_ID example.kxreview.KXReview)

install(TARGETS kxrtool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT viewer)
install(TARGETS kxrgen RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT generator
        EXCLUDE_FROM_ALL)

# Manual pages, kept as roff and compressed as Debian installs them.
find_program(KX_GZIP gzip REQUIRED)
set(KX_MAN_PAGES kxrtool.1)
if(TARGET kxreview)
    list(APPEND KX_MAN_PAGES kxreview.1)
endif()
set(KX_MAN_GZ)
foreach(page ${KX_MAN_PAGES})
    set(source ${PROJECT_SOURCE_DIR}/resources/man/${page})
    set(gz ${PROJECT_BINARY_DIR}/man/${page}.gz)
    add_custom_command(OUTPUT ${gz}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
        COMMAND sh -c "${KX_GZIP} -9nc \"$1\" >\"$2\"" sh ${source} ${gz}
        DEPENDS ${source} COMMENT "Manual page ${page}" VERBATIM)
    list(APPEND KX_MAN_GZ ${gz})
endforeach()
add_custom_target(kxmanpages ALL DEPENDS ${KX_MAN_GZ})
install(FILES ${KX_MAN_GZ} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT viewer)

if(TARGET kxreview)
    install(TARGETS kxreview RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT viewer)
    # The clip encoder and kxrtool's program for pictures and clips, found by the programs
    # in libexec/kxreview beside their bin folder.
    install(TARGETS kxclipencoder LIBRARY DESTINATION libexec/kxreview COMPONENT viewer)
    install(TARGETS kxrtool-clips RUNTIME DESTINATION libexec/kxreview COMPONENT viewer)
    install(FILES ${KX_DESKTOP_DIR}/kxreview.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT viewer)
    install(FILES ${KX_DESKTOP_DIR}/kxreview-mime.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME kxreview.xml
            COMPONENT viewer)
    install(FILES ${KX_DESKTOP_DIR}/${KX_APPSTREAM_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT viewer)

    # Icons: the SVGs as drawn, and every PNG size of the hicolor theme (the program's own
    # PNGs are rendered for its window icon, those of the record types here).
    set(KX_ICON_ROOT ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/kxreview.svg
            DESTINATION ${KX_ICON_ROOT}/scalable/apps COMPONENT viewer)
    set(KX_MIME_ICONS)
    foreach(name application-x-kxreview-record application-x-kxreview-log)
        kx_render_icon(pngs ${name} mimetypes)
        list(APPEND KX_MIME_ICONS ${pngs})
        install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/${name}.svg
                DESTINATION ${KX_ICON_ROOT}/scalable/mimetypes COMPONENT viewer)
    endforeach()
    add_custom_target(kxmimeicons ALL DEPENDS ${KX_MIME_ICONS})
    foreach(size ${KX_ICON_SIZES})
        foreach(name kxreview application-x-kxreview-record application-x-kxreview-log)
            set(context mimetypes)
            if(name STREQUAL "kxreview")
                set(context apps)
            endif()
            kx_icon_png(png ${name} ${context} ${size})
            install(FILES ${png} DESTINATION ${KX_ICON_ROOT}/${size}x${size}/${context}
                    COMPONENT viewer)
        endforeach()
    endforeach()
endif()
