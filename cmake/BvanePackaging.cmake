# Debian packages built with CPack's DEB generator from the same build tree the tests use
# (scripts/bvane-dev package): dpkg-shlibdeps computes the library dependencies, the library
# package gets its shlibs file and ldconfig trigger, and every package carries its Debian
# changelog and copyright file.
#
#   brisvane         bvane, bvane-mailprobe, the notice program, resources, desktop files
#   libpinlib6-1     libpinlib6.so.1 and the libbvaneclock.so.1 it needs
#   libpinlib6-dev   headers, the unversioned library links and the CMake package

set(bvane_packages brisvane pinlib6 pinlib6_dev)
set(bvane_package_names brisvane libpinlib6-1 libpinlib6-dev)

# The Debian changelog, compressed reproducibly.
set(bvane_changelog ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz)
add_custom_command(OUTPUT ${bvane_changelog}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
  COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/packaging/debian/changelog > ${bvane_changelog}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/debian/changelog VERBATIM)
add_custom_target(bvane_changelog ALL DEPENDS ${bvane_changelog})

foreach(component name IN ZIP_LISTS bvane_packages bvane_package_names)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/debian/copyright ${bvane_changelog}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${name} COMPONENT ${component})
  string(TOUPPER ${component} upper)
  set(CPACK_DEBIAN_${upper}_PACKAGE_NAME ${name})
  set(CPACK_DEBIAN_${upper}_FILE_NAME DEB-DEFAULT)
  set(lintian ${CMAKE_SOURCE_DIR}/packaging/debian/${name}.lintian-overrides)
  if(EXISTS ${lintian})
    install(FILES ${lintian} DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
            RENAME ${name} COMPONENT ${component})
  endif()
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brisvane)
set(CPACK_PACKAGE_VENDOR "The Brisvane developers")
set(CPACK_PACKAGE_CONTACT "Brisvane developers <brisvane@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_SOURCE_DIR}/dist)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${bvane_packages})
set(CPACK_COMPONENTS_GROUPING IGNORE)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# dpkg-shlibdeps finds our own libraries in the staging tree.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/lib)

set(CPACK_COMPONENT_BRISVANE_DEPENDS pinlib6)
set(CPACK_COMPONENT_PINLIB6_DEV_DEPENDS pinlib6)
# What the program loads at run time besides the libraries it links: the X11 platform
# plugin, the freedesktop sound theme its alerts play from, the hicolor icon theme its tray
# pictures go in, the TLS backend's libssl, Qt SQL's
# SQLite driver for the usage record. libcanberra0 is opened at run time, so shlibdeps does
# not see it; nor libsecret-1-0, which QtKeychain opens to reach the desktop keyring.
set(CPACK_DEBIAN_BRISVANE_PACKAGE_DEPENDS
  "qt6-qpa-plugins, sound-theme-freedesktop, hicolor-icon-theme, libssl3, libcanberra0, libqt6sql6-sqlite, libsecret-1-0")
# Qt's own translations (its standard buttons and dialogs) beside the program's.
set(CPACK_DEBIAN_BRISVANE_PACKAGE_RECOMMENDS
  "libcanberra-pulse | pulseaudio-utils, xdg-utils, qt6-translations-l10n")
set(CPACK_DEBIAN_BRISVANE_PACKAGE_SUGGESTS "network-manager, ppp")
set(CPACK_DEBIAN_BRISVANE_DESCRIPTION "dial-up line and mail companion for the system tray
Brisvane lives in the notification area of the desktop. It dials a dial-up
connection through NetworkManager or pppd, shows the line state and the
connected time, redials a busy or dropped line, starts chosen programs when
the line comes up or goes down, and checks up to five POP3 and IMAP mail
accounts on a schedule, listing their headers and deleting chosen messages.

The package also holds bvane-mailprobe, which tests a POP3 or IMAP account
from the command line.")
set(CPACK_DEBIAN_PINLIB6_PACKAGE_SECTION libs)
# SVG icons load through Qt's SVG image and icon plugins.
set(CPACK_DEBIAN_PINLIB6_PACKAGE_RECOMMENDS "libqt6svg6")
# The library package's shlibs file and ldconfig trigger, written here; CPack's own would call
# ldconfig from maintainer scripts, where Debian wants the trigger (the post-build script
# takes out the scripts CPack adds all the same).
set(bvane_control ${CMAKE_BINARY_DIR}/packaging/control)
file(WRITE ${bvane_control}/shlibs
  "libpinlib6 ${PROJECT_VERSION_MAJOR} libpinlib6-1 (>= ${PROJECT_VERSION})\n"
  "libbvaneclock ${PROJECT_VERSION_MAJOR} libpinlib6-1 (>= ${PROJECT_VERSION})\n")
file(WRITE ${bvane_control}/triggers "activate-noawait ldconfig\n")
set(CPACK_DEBIAN_PINLIB6_PACKAGE_CONTROL_EXTRA ${bvane_control}/shlibs ${bvane_control}/triggers)
set(CPACK_DEBIAN_PINLIB6_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/packaging/dropldconfigscripts.cmake)
set(CPACK_DEBIAN_PINLIB6_DESCRIPTION "tray icon control library for Qt programs
pinlib6 gives a Qt program an icon in the notification area with mouse
events, animation, blinking, a zoom-to-tray effect and a minimise watch.

This package holds the run-time libraries libpinlib6 and libbvaneclock.")
set(CPACK_DEBIAN_PINLIB6_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_PINLIB6_DEV_PACKAGE_DEPENDS "qt6-base-dev")
set(CPACK_DEBIAN_PINLIB6_DEV_DESCRIPTION "tray icon control library for Qt programs - development files
pinlib6 gives a Qt program an icon in the notification area with mouse
events, animation, blinking, a zoom-to-tray effect and a minimise watch.

This package holds the headers, the CMake package configuration
(find_package(pinlib6), target pinlib6::pinlib6), the pkg-config file and an
example program.")

include(CPack)
