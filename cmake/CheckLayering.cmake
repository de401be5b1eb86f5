# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that a program's sources keep to their layers, run as a test:
#   cmake -DSRC=<src dir> -DWIDGETS_DIR=<QtWidgets include dir>
#         -DLAYERS="layer:allowed,allowed|..." -DWIDGET_FREE="layer,layer" -P CheckLayering.cmake
# A layer is a folder under src/, named by its whole path: platform/linux is
# a layer of its own beside platform. Every folder that holds sources needs
# a rule. Every quoted include names the folder it comes from
# ("net/codepage.h"); a file may include only the layers its rule allows, so
# dependencies point one way. The entry points (main.cpp anywhere, and the
# files directly in src/) wire the layers together and may include any of
# them; they are the only files outside platform/linux that may reach into
# it. Files in the widget-free layers include no Qt Widgets header.
#
# The system's own headers belong to its back end: no file outside
# platform/linux includes a POSIX or Linux header, or a header of a library
# the back end links. The list below is the one the check holds them to.
cmake_policy(SET CMP0057 NEW) # if(... IN_LIST ...)

set(backend platform/linux)
set(system_headers
  # POSIX: files, processes, signals, terminals, users, sockets, threads
  "unistd\\.h" "fcntl\\.h" "sys/.*" "poll\\.h" "spawn\\.h" "signal\\.h" "csignal"
  "termios\\.h" "dirent\\.h" "pwd\\.h" "grp\\.h" "pthread\\.h" "sched\\.h" "semaphore\\.h"
  "dlfcn\\.h" "netdb\\.h" "ifaddrs\\.h" "net/.*" "netinet/.*" "arpa/.*" "iconv\\.h"
  "syslog\\.h" "utmpx?\\.h" "wait\\.h" "mqueue\\.h" "aio\\.h" "glob\\.h" "wordexp\\.h"
  "libgen\\.h" "langinfo\\.h" "strings\\.h"
  # Linux
  "linux/.*" "asm/.*" "mntent\\.h" "pty\\.h" "error\\.h"
  # the libraries of the back ends (platform.cmake)
  "libsmbclient\\.h" "pulse/.*" "canberra\\.h")
list(JOIN system_headers "|" system_pattern)
set(system_pattern "^(${system_pattern})$")

string(REPLACE "|" ";" LAYERS "${LAYERS}")
string(REPLACE "," ";" WIDGET_FREE "${WIDGET_FREE}")
set(layers "")
foreach(rule ${LAYERS})
  string(REPLACE ":" ";" parts "${rule}")
  list(GET parts 0 layer)
  list(GET parts 1 allowed)
  string(REPLACE "," ";" allowed_${layer} "${allowed}")
  list(APPEND layers ${layer})
endforeach()

set(faults "")
file(GLOB_RECURSE files "${SRC}/*.h" "${SRC}/*.cpp")
foreach(file ${files})
  file(RELATIVE_PATH name "${SRC}" "${file}")
  get_filename_component(layer "${name}" DIRECTORY)
  get_filename_component(base "${name}" NAME)
  set(entry OFF)
  if(layer STREQUAL "" OR base STREQUAL "main.cpp")
    set(entry ON)
  endif()
  if(NOT layer STREQUAL "" AND NOT layer IN_LIST layers)
    list(APPEND faults "${name}: the folder ${layer}/ has no rule")
    continue()
  endif()
  file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line ${includes})
    if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
      set(header "${CMAKE_MATCH_1}")
      get_filename_component(from "${header}" DIRECTORY)
      if(header MATCHES "\\.moc$" OR entry)
        continue()
      elseif(from STREQUAL "")
        list(APPEND faults "${name}: \"${header}\" names no layer")
      elseif(NOT from IN_LIST allowed_${layer})
        list(APPEND faults "${name}: ${layer}/ may not include ${header}")
      endif()
    elseif(line MATCHES "#[ \t]*include[ \t]*<([^>]+)>")
      set(header "${CMAKE_MATCH_1}")
      if(NOT layer STREQUAL backend AND header MATCHES "${system_pattern}")
        list(APPEND faults "${name}: <${header}> belongs to the system's back end: only ${backend}/ includes it")
      elseif(layer IN_LIST WIDGET_FREE AND
             (header MATCHES "^QtWidgets/" OR EXISTS "${WIDGETS_DIR}/${header}"))
        list(APPEND faults "${name}: ${layer}/ holds no widget code, but includes <${header}>")
      endif()
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n" text)
  message(FATAL_ERROR "Layering faults:\n${text}")
endif()
message(STATUS "Layers kept: ${layers}")
