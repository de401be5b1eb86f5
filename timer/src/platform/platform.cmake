# SPDX-License-Identifier: GPL-3.0-or-later
# The timer's platform back end: the one place where the build picks the
# system it runs on. Every back end defines what platform/*.h declare, in a
# folder of its own (platform/<system>/). A Windows back end would be one
# more branch here and the folder platform/windows/.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  pkg_check_modules(PULSE REQUIRED IMPORTED_TARGET libpulse)
  set(TEMPRAL_PLATFORM_SOURCES
    platform/linux/inisettingsstore.cpp platform/linux/inisettingsstore.h
    platform/linux/pulsebeeper.cpp platform/linux/pulsebeeper.h
    platform/linux/qtserialline.cpp platform/linux/qtserialline.h
    platform/linux/serialports.cpp platform/linux/serialports.h
    platform/linux/signalwatcher.cpp
    platform/linux/systemplatform.cpp)
  set(TEMPRAL_PLATFORM_LIBRARIES Qt6::SerialPort PkgConfig::PULSE)
else()
  message(FATAL_ERROR "Tempral has no platform back end for ${CMAKE_SYSTEM_NAME}")
endif()
