# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that a program's sources keep to their rooms, run as a test:
#   cmake -DSRC=<src dir> -DWIDGETS_DIR=<QtWidgets include dir>
#         -DROOMS="room:allowed,allowed|..." -DWIDGET_FREE="room,room" -P CheckLayering.cmake
# Every quoted include names the room it comes from ("net/codepage.h"); a
# file may include only the rooms its rule allows, so dependencies point one
# way. Files in the widget-free rooms include no Qt Widgets header.
cmake_policy(SET CMP0057 NEW) # if(... IN_LIST ...)

string(REPLACE "|" ";" ROOMS "${ROOMS}")
string(REPLACE "," ";" WIDGET_FREE "${WIDGET_FREE}")
foreach(rule ${ROOMS})
  string(REPLACE ":" ";" parts "${rule}")
  list(GET parts 0 room)
  list(GET parts 1 allowed)
  string(REPLACE "," ";" allowed_${room} "${allowed}")
  list(APPEND rooms ${room})
endforeach()

set(faults "")
foreach(room ${rooms})
  file(GLOB_RECURSE files "${SRC}/${room}/*.h" "${SRC}/${room}/*.cpp")
  foreach(file ${files})
    file(RELATIVE_PATH name "${SRC}" "${file}")
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line ${includes})
      if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
        set(header "${CMAKE_MATCH_1}")
        if(header MATCHES "\\.moc$")
          continue()
        endif()
        if(NOT header MATCHES "^([a-z]+)/")
          list(APPEND faults "${name}: \"${header}\" names no room")
          continue()
        endif()
        if(NOT CMAKE_MATCH_1 IN_LIST allowed_${room})
          list(APPEND faults "${name}: ${room}/ may not include ${header}")
        endif()
      elseif(room IN_LIST WIDGET_FREE AND line MATCHES "#[ \t]*include[ \t]*<([^>]+)>")
        set(header "${CMAKE_MATCH_1}")
        if(header MATCHES "^QtWidgets/" OR EXISTS "${WIDGETS_DIR}/${header}")
          list(APPEND faults "${name}: ${room}/ holds no widget code, but includes <${header}>")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n" text)
  message(FATAL_ERROR "Layering faults:\n${text}")
endif()
message(STATUS "Rooms kept: ${rooms}")
