# Two ways to install the program, each an install component that CPack packs on its own:
# - portable: one folder holding the program, the maker's resource library, the sound plugin, the
#   user README, the licence, the icons and a desktop entry. The program keeps its settings file
#   beside itself. CPack wraps the folder into a tar.gz and a zip with one top-level folder.
# - deb (Linux): a Debian package. The program, the library and the plugin in /usr/lib/porukano
#   (the program loads the other two from its own folder), /usr/bin/KT41A0001 a link to it, the
#   desktop entry, icons, AppStream data, man page and documents in their system places. Nobody
#   can write to /usr/lib/porukano, so the program keeps its settings in each user's
#   configuration folder (SettingsFile::pathFor).

install(TARGETS KT41A0001 RUNTIME DESTINATION . COMPONENT portable)
install(TARGETS QSK3Res porukano_sound
    RUNTIME DESTINATION . COMPONENT portable
    LIBRARY DESTINATION . COMPONENT portable)
install(FILES
    packaging/README.txt
    packaging/LICENSE.txt
    packaging/porukano.desktop
    DESTINATION . COMPONENT portable)
install(PROGRAMS packaging/install-launcher.sh DESTINATION . COMPONENT portable)

set(PORUKANO_ICON_SVG ${PROJECT_SOURCE_DIR}/src/resources/images/icon.svg)
set(porukano_icons)
foreach(size 16 22 24 32 48 64 128 256)
    set(icon ${CMAKE_BINARY_DIR}/icons/hicolor/${size}x${size}/apps/porukano.png)
    add_custom_command(OUTPUT ${icon}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/hicolor/${size}x${size}/apps
        COMMAND svgrender ${PORUKANO_ICON_SVG} ${icon} ${size}
        DEPENDS svgrender ${PORUKANO_ICON_SVG}
        COMMENT "Rendering the ${size} px desktop icon")
    list(APPEND porukano_icons ${icon})
endforeach()
add_custom_target(desktop_icons ALL DEPENDS ${porukano_icons})
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons DESTINATION . COMPONENT portable)
install(FILES ${PORUKANO_ICON_SVG} DESTINATION icons/hicolor/scalable/apps RENAME porukano.svg COMPONENT portable)
install(FILES ${PORUKANO_ICON_SVG} DESTINATION . RENAME porukano.svg COMPONENT portable)

set(CPACK_GENERATOR "TGZ;ZIP")
set(CPACK_PACKAGE_NAME "KT41A0001")
set(CPACK_PACKAGE_VENDOR "Porukano developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "A bus driver's controls for a model city bus")
set(CPACK_PACKAGE_FILE_NAME "KT41A0001-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME}")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
# Each generator packs its own component (cmake/CPackOptions.cmake).
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/CPackOptions.cmake)

if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    list(APPEND CPACK_GENERATOR DEB)

    # What the program needs to run on Debian 12: the README's list, then the other libraries the
    # program and its two libraries link. The end-to-end package test checks the first against the
    # README and the second against what dpkg-shlibdeps finds. (CPack's own dpkg-shlibdeps step is
    # off: with it CPack also adds maintainer scripts that run ldconfig for any library under
    # /usr/lib, and a package with a postrm script stays behind in dpkg's list when removed.)
    set(PORUKANO_RUNTIME_PACKAGES
        libqt6widgets6 libqt6svg6 libqt6multimedia6 qt6-qpa-plugins qt6-image-formats-plugins
        fonts-ipafont-gothic qt6-translations-l10n
        libqt6core6 libqt6gui6 libstdc++6 libgcc-s1 libc6)
    set(PORUKANO_HOMEPAGE "https://www.rovanda.example/")
    set(PORUKANO_MAINTAINER "The Porukano developers <porukano@rovanda.example>")
    # The release this version is; the changelog wants the date in RFC 2822 form too.
    set(PORUKANO_RELEASE_DATE "2026-12-07")
    set(PORUKANO_RELEASE_DATE_RFC2822 "Mon, 07 Dec 2026 12:00:00 +0000")
    # The software centre shows docs/screenshot.png from where the project publishes it.
    set(PORUKANO_SCREENSHOT_URL "${PORUKANO_HOMEPAGE}porukano/screenshot.png" CACHE STRING
        "Web address of docs/screenshot.png, for the AppStream data of the Debian package")
    # Its size, from the PNG header (width and height, big-endian, at bytes 16 to 23).
    file(READ ${PROJECT_SOURCE_DIR}/docs/screenshot.png png_size OFFSET 16 LIMIT 8 HEX)
    string(SUBSTRING ${png_size} 0 8 png_width)
    string(SUBSTRING ${png_size} 8 8 png_height)
    math(EXPR PORUKANO_SCREENSHOT_WIDTH "0x${png_width}")
    math(EXPR PORUKANO_SCREENSHOT_HEIGHT "0x${png_height}")

    set(deb ${CMAKE_BINARY_DIR}/deb)
    set(doc share/doc/porukano)
    install(TARGETS KT41A0001 QSK3Res porukano_sound
        RUNTIME DESTINATION lib/porukano COMPONENT deb
        LIBRARY DESTINATION lib/porukano COMPONENT deb)
    # The program resolves the link to its real folder (QCoreApplication::applicationDirPath).
    file(MAKE_DIRECTORY ${deb})
    file(CREATE_LINK ../lib/porukano/KT41A0001 ${deb}/KT41A0001 SYMBOLIC)
    install(FILES ${deb}/KT41A0001 DESTINATION bin COMPONENT deb)
    install(FILES packaging/porukano.desktop DESTINATION share/applications COMPONENT deb)
    install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/ DESTINATION share/icons COMPONENT deb)
    install(FILES ${PORUKANO_ICON_SVG} DESTINATION share/icons/hicolor/scalable/apps RENAME porukano.svg
        COMPONENT deb)
    configure_file(packaging/deb/porukano.metainfo.xml.in ${deb}/example.rovanda.porukano.metainfo.xml @ONLY)
    install(FILES ${deb}/example.rovanda.porukano.metainfo.xml DESTINATION share/metainfo COMPONENT deb)
    install(FILES packaging/deb/copyright packaging/deb/README.Debian DESTINATION ${doc} COMPONENT deb)
    install(FILES packaging/deb/lintian-overrides DESTINATION share/lintian/overrides RENAME porukano
        COMPONENT deb)

    # The changelog and the man page, compressed as Debian wants them (gzip -9, no time stamp).
    configure_file(packaging/deb/changelog.in ${deb}/changelog @ONLY)
    configure_file(packaging/deb/KT41A0001.1 ${deb}/KT41A0001.1 @ONLY)
    find_program(GZIP_PROGRAM gzip REQUIRED)
    foreach(file changelog KT41A0001.1)
        add_custom_command(OUTPUT ${deb}/${file}.gz
            COMMAND ${GZIP_PROGRAM} -9 -n -c ${deb}/${file} > ${deb}/${file}.gz
            DEPENDS ${deb}/${file}
            COMMENT "Compressing the Debian package's ${file}")
    endforeach()
    add_custom_target(deb_documents ALL DEPENDS ${deb}/changelog.gz ${deb}/KT41A0001.1.gz)
    install(FILES ${deb}/changelog.gz DESTINATION ${doc} COMPONENT deb)
    install(FILES ${deb}/KT41A0001.1.gz DESTINATION share/man/man1 COMPONENT deb)

    set(CPACK_DEBIAN_PACKAGE_NAME porukano)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PORUKANO_MAINTAINER}")
    set(CPACK_DEBIAN_PACKAGE_SECTION x11)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PORUKANO_HOMEPAGE}")
    list(JOIN PORUKANO_RUNTIME_PACKAGES ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
    set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
    set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [[
A model Japanese one-step city bus on the desktop, with a settings panel that
stays above the other windows: it opens and shuts the folding front door and
the two-leaf middle door at the speeds set with two scroll bars, turns the
destination roll sign to the pictures of a folder and shows a signboard
picture. The program (KT41A0001) keeps its settings in the user's
configuration folder, ~/.config/porukano.]])
endif()

include(CPack)
