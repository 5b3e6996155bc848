# Installation and the Debian package: `cpack -G DEB` in the build folder makes
# dosat_<version>_<arch>.deb, with the program, its menu entry, its icon, its AppStream
# metadata, and the licence and changelog where Debian keeps them.

include(GNUInstallDirs)

if(TARGET dosat)
  install(TARGETS dosat RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # qt_standard_project_setup() gives installed programs a $ORIGIN/../lib search path, made
  # for self-contained folders. Installed into /usr, the program finds the system's Qt
  # without it, and a search path would let files beside it shadow the system's libraries.
  set_target_properties(dosat PROPERTIES INSTALL_RPATH "")
endif()
# Software centres match the metadata to the menu entry by name: both are named by the
# metadata's id, DOSAT_APP_ID.
install(FILES ${PROJECT_SOURCE_DIR}/assets/${DOSAT_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${DOSAT_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/assets/dosat.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps)
install(FILES ${PROJECT_SOURCE_DIR}/assets/dosat.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(DOSAT_MAINTAINER "dosat developers <dosat@example.org>"
    CACHE STRING "Maintainer named in the Debian package")

# The licence in Debian's machine-readable form, from LICENSE: the holder from its
# copyright line, and the terms after it, each line indented by one space and an empty
# one written " .".
file(READ ${PROJECT_SOURCE_DIR}/LICENSE terms)
string(REGEX MATCH "\nCopyright \\(c\\) ([^\n]+)\n" copyright_line "${terms}")
set(DOSAT_COPYRIGHT "${CMAKE_MATCH_1}")
string(FIND "${terms}" "${copyright_line}" at)
string(LENGTH "${copyright_line}" length)
math(EXPR at "${at} + ${length}")
string(SUBSTRING "${terms}" ${at} -1 terms)
string(STRIP "${terms}" terms)
string(REPLACE "\n\n" "\n.\n" terms "${terms}")
string(REPLACE "\n" "\n " terms "${terms}")
set(DOSAT_LICENSE_TERMS " ${terms}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/copyright.in debian/copyright @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
install(FILES ${PROJECT_BINARY_DIR}/debian/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The changelog and the manual page compressed as Debian's policy asks: gzip -9, with no
# name or time stamp in the header.
foreach(file IN ITEMS debian/changelog dosat.1)
  add_custom_command(OUTPUT ${file}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/${file} ${file}
    COMMAND gzip -9nf ${file}
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/${file}
    VERBATIM)
endforeach()
add_custom_target(compressed_docs ALL DEPENDS debian/changelog.gz dosat.1.gz)
install(FILES ${PROJECT_BINARY_DIR}/debian/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_BINARY_DIR}/dosat.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_PACKAGE_NAME dosat)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "dosat developers")
set(CPACK_PACKAGE_CONTACT "${DOSAT_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Saturated dissolved-oxygen concentration of water (JIS K0102)")
set(CPACK_PACKAGE_DESCRIPTION
  "dosat is a small desktop calculator for water-quality work. From a water\n\
sample's temperature and its chloride ion concentration it gives the saturated\n\
dissolved-oxygen concentration in mg/L, after the JIS K0102 table (before its\n\
2016 revision), and shows the table itself. The interface is in Japanese.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps finds the libraries the binary links (libc6, libstdc++6, the Qt libraries)
# with the versions their symbols need. The lines below add what it cannot see: the
# Qt release the program was written against, and the font the windows are drawn in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4), fonts-ipafont-gothic")

include(CPack)
