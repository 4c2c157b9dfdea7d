# The program is portable: it keeps its settings file beside itself, so it is installed as one
# folder holding the program, the maker's resource library, the user README, the licence, the
# icons and a desktop entry. `cmake --install` lays that folder out under the prefix; CPack wraps
# it into a tar.gz and a zip with one top-level folder.

install(TARGETS KT41A0001 RUNTIME DESTINATION .)
install(FILES
    packaging/README.txt
    packaging/LICENSE.txt
    packaging/porukano.desktop
    DESTINATION .)
install(PROGRAMS packaging/install-launcher.sh DESTINATION .)

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
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons DESTINATION .)
install(FILES ${PORUKANO_ICON_SVG} DESTINATION icons/hicolor/scalable/apps RENAME porukano.svg)
install(FILES ${PORUKANO_ICON_SVG} DESTINATION . RENAME porukano.svg)

set(CPACK_GENERATOR "TGZ;ZIP")
set(CPACK_PACKAGE_NAME "KT41A0001")
set(CPACK_PACKAGE_VENDOR "Porukano developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "A bus driver's controls for a model city bus")
set(CPACK_PACKAGE_FILE_NAME "KT41A0001-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME}")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
