# The Debian package: `cpack -G DEB` in a build folder. It holds whatever `cmake --install` puts
# under /usr, plus the manual page, copyright and changelog that Debian's policy asks of a package.
set(VELORIN_MAINTAINER "Velorin developers <velorin@users.noreply.github.com>"
    CACHE STRING "Maintainer named in the Debian package and its changelog")

set(packaging ${CMAKE_CURRENT_LIST_DIR})
set(docdir ${CMAKE_INSTALL_DATADIR}/doc/velorin)

# Debian wants manual pages and changelogs compressed, without a time stamp that would change
# the package from one build to the next.
configure_file(${packaging}/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
set(compressed)
foreach(pair "${packaging}/velorin.1|velorin.1.gz" "${CMAKE_BINARY_DIR}/packaging/changelog|changelog.gz")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 source)
  list(GET pair 1 target)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/${target}
                     COMMAND sh -c "gzip -9n < \"$0\" > \"$1\"" ${source} ${CMAKE_BINARY_DIR}/packaging/${target}
                     DEPENDS ${source} VERBATIM)
  list(APPEND compressed ${CMAKE_BINARY_DIR}/packaging/${target})
endforeach()
add_custom_target(velorin_package_docs ALL DEPENDS ${compressed})

install(FILES ${CMAKE_BINARY_DIR}/packaging/velorin.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${packaging}/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz DESTINATION ${docdir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velorin)
set(CPACK_PACKAGE_VENDOR "Velorin developers")
set(CPACK_PACKAGE_CONTACT "${VELORIN_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Ohm's law calculator for the desktop")
set(CPACK_PACKAGE_DESCRIPTION
    "Velorin calculates one of voltage, amperage and resistance from the other
two and shows all three results as you type. Results can be stored in a
table, deleted, exported as comma-separated text and printed on the default
printer.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VELORIN_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
# Dependencies come from the libraries the program links, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its Wayland platform plugin and its own translations at run time, so no linked library
# names them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-translations-l10n")
include(CPack)
