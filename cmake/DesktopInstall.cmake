# SPDX-License-Identifier: GPL-3.0-or-later
#
# What a Linux desktop expects of an installed program, as install rules.
# <package> is the install component, one per .deb package (DebPackage.cmake).
#
#   install_command(<target> COMPONENT <package> MANUAL <page.1>)
#     the program in bin/ and its manual page
#   install_manual(<page.1> COMPONENT <package>)
#     a manual page, compressed, in man/man1/ (for a script installed by hand)
#   install_desktop_app(<name> COMPONENT <package> DESKTOP <file.desktop>
#                       [ICON <picture.svg>] [METAINFO <file.metainfo.xml.in>]
#                       [AUTOSTART])
#     the menu entry applications/<name>.desktop (also started at login with
#     AUTOSTART); the icon <name> in the hicolor theme, the SVG and PNGs
#     rendered from it at build time; the AppStream metadata, whose
#     @APPSTREAM_ID@ and @SCREENSHOT_URL@ are filled in here
#   install_autostart(<file.desktop> <name> <package>)
#     only the entry started at login, xdg/autostart/<name>.desktop
include_guard(GLOBAL)
include(GNUInstallDirs)

find_program(RSVG_CONVERT rsvg-convert REQUIRED) # librsvg2-bin
find_program(GZIP gzip REQUIRED)

# The reverse-DNS prefix of the AppStream ids, and where the screenshots of
# docs/ are published.
set(APPSTREAM_ID_PREFIX "rs.vesnal" CACHE STRING "Reverse-DNS prefix of the AppStream ids")
set(SCREENSHOT_URL "https://vesnal.rs/slike" CACHE STRING "Web folder of the screenshots")

# Sizes of the PNG icons beside the scalable one.
set(DESKTOP_ICON_SIZES 16 32 48 64 128 256)

# Compresses `source` into `output` at build time: gzip -9n leaves out the
# name and the time stamp, so the same input always gives the same bytes.
function(desktop_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND ${GZIP} -9nc ${source} > ${output}
    DEPENDS ${source})
endfunction()

function(install_manual manual)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "COMPONENT" "")
  get_filename_component(page ${manual} NAME)
  get_filename_component(source ${manual} ABSOLUTE)
  set(gz ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.gz)
  file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/man)
  desktop_gzip(${source} ${gz})
  string(MAKE_C_IDENTIFIER "manual_${page}" target)
  add_custom_target(${target} ALL DEPENDS ${gz})
  install(FILES ${gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${arg_COMPONENT})
endfunction()

function(install_command target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "COMPONENT;MANUAL" "")
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${arg_COMPONENT})
  install_manual(${arg_MANUAL} COMPONENT ${arg_COMPONENT})
endfunction()

function(install_desktop_app name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "AUTOSTART" "COMPONENT;DESKTOP;ICON;METAINFO" "")
  set(out ${CMAKE_CURRENT_BINARY_DIR}/desktop)

  install(FILES ${arg_DESKTOP} RENAME ${name}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT ${arg_COMPONENT})
  if(arg_AUTOSTART)
    install_autostart(${arg_DESKTOP} ${name} ${arg_COMPONENT})
  endif()

  if(arg_ICON)
    get_filename_component(svg ${arg_ICON} ABSOLUTE)
    install(FILES ${svg} RENAME ${name}.svg
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT ${arg_COMPONENT})
    set(pngs "")
    foreach(size ${DESKTOP_ICON_SIZES})
      set(png ${out}/${size}x${size}/${name}.png)
      file(MAKE_DIRECTORY ${out}/${size}x${size})
      add_custom_command(OUTPUT ${png}
        COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${svg}
        DEPENDS ${svg} VERBATIM)
      list(APPEND pngs ${png})
      install(FILES ${png}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        COMPONENT ${arg_COMPONENT})
    endforeach()
    add_custom_target(${name}_icons ALL DEPENDS ${pngs})
  endif()

  if(arg_METAINFO)
    string(TOLOWER "${APPSTREAM_ID_PREFIX}.${name}" APPSTREAM_ID)
    configure_file(${arg_METAINFO} ${out}/${APPSTREAM_ID}.metainfo.xml @ONLY)
    install(FILES ${out}/${APPSTREAM_ID}.metainfo.xml
      DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT ${arg_COMPONENT})
  endif()
endfunction()

# /etc/xdg/autostart when the prefix is /usr (as for the packages),
# <prefix>/etc/xdg/autostart otherwise: decided when installing, as the
# prefix may change then.
function(install_autostart desktop name component)
  get_filename_component(source ${desktop} ABSOLUTE)
  install(CODE "
    if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
      set(dir /etc/xdg/autostart)
    else()
      set(dir \"\${CMAKE_INSTALL_PREFIX}/etc/xdg/autostart\")
    endif()
    file(INSTALL \"${source}\" DESTINATION \"\${dir}\" RENAME ${name}.desktop)
    " COMPONENT ${component})
  # A file under /etc in a package is a configuration file.
  set_property(GLOBAL APPEND PROPERTY DEB_CONFFILES_${component} /etc/xdg/autostart/${name}.desktop)
endfunction()
