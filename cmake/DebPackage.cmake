# SPDX-License-Identifier: GPL-3.0-or-later
#
#   add_deb_package(<package> VERSION <version> SECTION <section>
#                   SUMMARY <one line> DESCRIPTION <paragraph>
#                   CHANGELOG <changelog.in>
#                   [DEPENDS <package>...] [RECOMMENDS <package>...]
#                   [SUGGESTS <package>...])
#
# One .deb package made of the install component <package>, with its
# copyright and changelog in share/doc/<package>. Library dependencies are
# computed by dpkg-shlibdeps; DEPENDS adds what the program runs. Built by
#   cpack -G DEB --config <build>/packages/<package>/CPackConfig.cmake
# (scripts/package.sh builds them all) into <build>/packages/.
include_guard(GLOBAL)
include(GNUInstallDirs)
include(DesktopInstall)

set(DEB_MAINTAINER "Vesnal tim <tim@vesnal.rs>" CACHE STRING "Maintainer of the .deb packages")

function(add_deb_package package)
  cmake_parse_arguments(PARSE_ARGV 1 arg ""
    "VERSION;SECTION;SUMMARY;DESCRIPTION;CHANGELOG" "DEPENDS;RECOMMENDS;SUGGESTS")
  set(doc ${CMAKE_INSTALL_DATADIR}/doc/${package})
  set(out ${CMAKE_BINARY_DIR}/packages/${package})

  set(DEB_PACKAGE ${package})
  set(DEB_VERSION ${arg_VERSION})
  configure_file(${CMAKE_SOURCE_DIR}/cmake/deb-copyright.in ${out}/copyright @ONLY)
  configure_file(${arg_CHANGELOG} ${out}/changelog @ONLY)
  desktop_gzip(${out}/changelog ${out}/changelog.gz)
  add_custom_target(${package}_changelog ALL DEPENDS ${out}/changelog.gz)
  install(FILES ${out}/copyright ${out}/changelog.gz DESTINATION ${doc} COMPONENT ${package})

  # The package configuration is written once every install rule is known
  # (an autostart entry adds a configuration file).
  foreach(key VERSION SECTION SUMMARY DESCRIPTION DEPENDS RECOMMENDS SUGGESTS)
    set_property(GLOBAL PROPERTY DEB_${key}_${package} "${arg_${key}}")
  endforeach()
  cmake_language(EVAL CODE
    "cmake_language(DEFER DIRECTORY [[${CMAKE_SOURCE_DIR}]] CALL _deb_write_config [[${package}]])")
endfunction()

function(_deb_write_config package)
  foreach(key VERSION SECTION SUMMARY DESCRIPTION DEPENDS RECOMMENDS SUGGESTS)
    get_property(${key} GLOBAL PROPERTY DEB_${key}_${package})
  endforeach()
  set(out ${CMAKE_BINARY_DIR}/packages/${package})
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME ${package})
  set(CPACK_PACKAGE_VERSION ${VERSION})
  set(CPACK_PACKAGE_VENDOR "Vesnal tim")
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${SUMMARY}")
  set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
  set(CPACK_OUTPUT_CONFIG_FILE ${out}/CPackConfig.cmake)
  set(CPACK_SOURCE_OUTPUT_CONFIG_FILE ${out}/CPackSourceConfig.cmake)
  # Only this package's component, installed under /usr as Debian expects
  # (DESTDIR, so that an entry under /etc lands in the package as well).
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${CMAKE_PROJECT_NAME};${package};/")
  set(CPACK_MONOLITHIC_INSTALL ON)
  set(CPACK_SET_DESTDIR ON)
  set(CPACK_INSTALL_PREFIX /usr)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

  set(CPACK_DEBIAN_PACKAGE_NAME ${package})
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${DEB_MAINTAINER}")
  set(CPACK_DEBIAN_PACKAGE_SECTION ${SECTION})
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${DESCRIPTION}") # the summary goes before it
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  list(JOIN DEPENDS ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
  list(JOIN RECOMMENDS ", " CPACK_DEBIAN_PACKAGE_RECOMMENDS)
  list(JOIN SUGGESTS ", " CPACK_DEBIAN_PACKAGE_SUGGESTS)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  get_property(conffiles GLOBAL PROPERTY DEB_CONFFILES_${package})
  if(conffiles)
    list(JOIN conffiles "\n" text)
    file(WRITE ${out}/conffiles "${text}\n")
    set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${out}/conffiles)
  endif()
  include(CPack)
endfunction()
