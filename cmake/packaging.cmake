# What `cmake --install` puts in place besides zarnik itself, and the Debian
# package that `cpack -G DEB` builds from it.
include(GNUInstallDirs)

if(TARGET zarnik-config)
  install(TARGETS zarnik-config RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/man/zarnik.1 ${PROJECT_SOURCE_DIR}/man/zarnik-config.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
file(GLOB zarnik_sql_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/sql/*.sql)
install(FILES ${zarnik_sql_files} DESTINATION ${CMAKE_INSTALL_DATADIR}/zarnik/sql)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME zarnik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "zarnik developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "imports cost-centre-change bookings into a MariaDB/MySQL database")
set(CPACK_PACKAGE_DESCRIPTION
    "zarnik reads a file of cost-centre-change bookings, resolves each booking's personnel number, tenant schema and cost centre, inserts the bookings into the booking table and appends a parameter file for the follow-up program WKR. zarnik-config writes and checks its enciphered configuration file.")
set(CPACK_PACKAGE_CONTACT "zarnik developers <zarnik@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "zarnik developers <zarnik@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libmariadb3, libc6, libstdc++6, libgcc-s1")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)
