# Installation and the Debian package: `cpack -G DEB` in the build folder makes
# dosat_<version>_<arch>.deb, with the program, its menu entry and its icon.

include(GNUInstallDirs)

if(TARGET dosat)
  install(TARGETS dosat RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # qt_standard_project_setup() gives installed programs a $ORIGIN/../lib search path, made
  # for self-contained folders. Installed into /usr, the program finds the system's Qt
  # without it, and a search path would let files beside it shadow the system's libraries.
  set_target_properties(dosat PROPERTIES INSTALL_RPATH "")
endif()
install(FILES ${PROJECT_SOURCE_DIR}/assets/dosat.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/assets/dosat.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps)
install(FILES ${PROJECT_SOURCE_DIR}/assets/dosat.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(DOSAT_MAINTAINER "dosat developers <dosat@example.org>"
    CACHE STRING "Maintainer named in the Debian package")

set(CPACK_PACKAGE_NAME dosat)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "dosat developers")
set(CPACK_PACKAGE_CONTACT "${DOSAT_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Saturated dissolved-oxygen concentration of water (JIS K0102)")
set(CPACK_PACKAGE_DESCRIPTION
  "dosat is a small desktop calculator for water-quality work. From a water sample's\n\
temperature and its chloride ion concentration it gives the saturated dissolved-oxygen\n\
concentration in mg/L, after the JIS K0102 table, and shows the table itself.\n\
The interface is in Japanese.")
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
