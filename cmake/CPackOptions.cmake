# Read by cpack for each package it makes (CPACK_PROJECT_CONFIG_FILE): the Debian package holds the
# deb install component, the archives the portable one (cmake/Packaging.cmake). The third entry of
# the project to install names the one component cpack installs.
list(GET CPACK_INSTALL_CMAKE_PROJECTS 0 porukano_build)
if(CPACK_GENERATOR STREQUAL "DEB")
    set(CPACK_INSTALL_CMAKE_PROJECTS "${porukano_build};Porukano;deb;/")
    set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Driver's controls for a model Japanese city bus")
else()
    set(CPACK_INSTALL_CMAKE_PROJECTS "${porukano_build};Porukano;portable;/")
endif()
