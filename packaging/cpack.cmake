# A Debian package of the installed tree. Its Depends are worked out from the
# executable's shared libraries (dpkg-shlibdeps), so they follow the Qt that
# the program was built against instead of a list kept by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvath-itemlist)
set(CPACK_PACKAGE_VENDOR "Emberlight Hollow Software")
set(CPACK_PACKAGE_CONTACT "Emberlight Hollow Software <itemlist@emberlight-hollow.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "read-only reference for the items of Quorvath")
set(CPACK_PACKAGE_DESCRIPTION
    "Quorvath Itemlist shows, for each of the 227 items of the role-playing game\n\
Quorvath, which character classes may use it, what it does while equipped and\n\
when activated, how often it can be used, and a short description.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://quorvath.example/itemlist/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A companion to a game, not a game: Debian keeps section games for what
# installs under /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The program's font, DejaVu Sans Condensed, on top of the libraries.
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-dejavu-extra)
# The web buttons of the About window hand their page to xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
# Control files 0644 whatever the umask of the build.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# The project's one install component (every install() rule is in CMake's
# default, Unspecified), named so that CPack installs it as a component:
# CMake then lists the files in install_manifest_Unspecified.txt, and the
# install_manifest.txt of a user's `cmake --install`, from which the README's
# uninstall step removes, stays theirs.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};Unspecified;/")

# The same commit gives the same package, with its checksum beside it.
set(CPACK_QI_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/source-date-epoch.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/cpack-sums.cmake)

include(CPack)
