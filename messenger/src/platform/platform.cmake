# SPDX-License-Identifier: GPL-3.0-or-later
# The messenger's platform back end: the one place where the build picks the
# system it runs on. Every back end defines what platform/*.h declare, in a
# folder of its own (platform/<system>/). A Windows back end would be one
# more branch here and the folder platform/windows/.
#
# VESNAL_PLATFORM_SOURCES and _LIBRARIES go into the messenger and its
# helpers; VESNAL_LISTING_SOURCES and _LIBRARIES (platform/listingchild.h:
# the network listing's own library) only into the helper vesnal-net;
# VESNAL_SPOOL_SOURCES into vesnal-receive and the agent vesnal-popup,
# VESNAL_AGENT_SOURCES and _LIBRARIES into the agent alone.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  pkg_check_modules(SMBCLIENT REQUIRED IMPORTED_TARGET smbclient)
  pkg_check_modules(CANBERRA REQUIRED IMPORTED_TARGET libcanberra)
  set(VESNAL_PLATFORM_SOURCES
    platform/linux/childpool.cpp platform/linux/childpool.h
    platform/linux/childprocess.cpp platform/linux/childprocess.h
    platform/linux/childruns.cpp
    platform/linux/childwatch.cpp platform/linux/childwatch.h
    platform/linux/deliverylauncher.cpp platform/linux/deliverylauncher.h
    platform/linux/iconvconverter.cpp
    platform/linux/listingformat.cpp platform/linux/listingformat.h
    platform/linux/localidentity.cpp platform/linux/localidentity.h
    platform/linux/netaddress.cpp
    platform/linux/smbbrowser.cpp platform/linux/smbbrowser.h
    platform/linux/systemplatform.cpp
    platform/linux/writeall.h)
  set(VESNAL_PLATFORM_LIBRARIES)
  # libsmbclient runs only in vesnal-net's listing children.
  set(VESNAL_LISTING_SOURCES platform/linux/smblisting.cpp)
  set(VESNAL_LISTING_LIBRARIES PkgConfig::SMBCLIENT)
  set(VESNAL_SPOOL_SOURCES
    platform/linux/descriptors.h
    platform/linux/folderlock.cpp
    platform/linux/openfolder.cpp
    platform/linux/writeall.h)
  # The agent: the spool's notices (inotify), one agent per user, a second
  # start's request (SIGUSR1), and the arrival sound through libcanberra.
  set(VESNAL_AGENT_SOURCES
    platform/linux/canberrasound.cpp
    platform/linux/folderwatch.cpp
    platform/linux/processlock.cpp
    platform/linux/requestsignal.cpp)
  set(VESNAL_AGENT_LIBRARIES PkgConfig::CANBERRA)
else()
  message(FATAL_ERROR "Vesnal has no platform back end for ${CMAKE_SYSTEM_NAME}")
endif()
