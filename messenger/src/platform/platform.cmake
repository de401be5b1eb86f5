# SPDX-License-Identifier: GPL-3.0-or-later
# The messenger's platform back end: the one place where the build picks the
# system it runs on. Every back end defines what platform/*.h declare, in a
# folder of its own (platform/<system>/). A Windows back end would be one
# more branch here and the folder platform/windows/.
#
# VESNAL_PLATFORM_SOURCES and _LIBRARIES go into both programs;
# VESNAL_LISTING_SOURCES and _LIBRARIES (platform/listingchild.h: the
# network listing's own library) only into the helper vesnal-net.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  pkg_check_modules(SMBCLIENT REQUIRED IMPORTED_TARGET smbclient)
  set(VESNAL_PLATFORM_SOURCES
    platform/linux/childpool.cpp platform/linux/childpool.h
    platform/linux/childprocess.cpp platform/linux/childprocess.h
    platform/linux/childwatch.cpp platform/linux/childwatch.h
    platform/linux/deliverylauncher.cpp platform/linux/deliverylauncher.h
    platform/linux/listingformat.cpp platform/linux/listingformat.h
    platform/linux/localidentity.cpp platform/linux/localidentity.h
    platform/linux/smbbrowser.cpp platform/linux/smbbrowser.h
    platform/linux/systemplatform.cpp
    platform/linux/windowsystem.cpp platform/linux/windowsystem.h
    platform/linux/writeall.h)
  set(VESNAL_PLATFORM_LIBRARIES)
  # libsmbclient runs only in vesnal-net's listing children.
  set(VESNAL_LISTING_SOURCES platform/linux/smblisting.cpp)
  set(VESNAL_LISTING_LIBRARIES PkgConfig::SMBCLIENT)
else()
  message(FATAL_ERROR "Vesnal has no platform back end for ${CMAKE_SYSTEM_NAME}")
endif()
