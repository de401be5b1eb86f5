# The messenger's platform back end: the one place where the build picks the
# system it runs on. Every back end defines what platform/*.h declare, in a
# folder of its own (platform/<system>/). A Windows back end would be one
# more branch here and the folder platform/windows/.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  pkg_check_modules(SMBCLIENT REQUIRED IMPORTED_TARGET smbclient)
  set(VESNAL_PLATFORM_SOURCES
    platform/linux/childprocess.cpp platform/linux/childprocess.h
    platform/linux/childwatch.cpp platform/linux/childwatch.h
    platform/linux/deadlineworker.cpp platform/linux/deadlineworker.h
    platform/linux/deliverylauncher.cpp platform/linux/deliverylauncher.h
    platform/linux/localidentity.cpp platform/linux/localidentity.h
    platform/linux/smbbackend.cpp platform/linux/smbbackend.h
    platform/linux/systemplatform.cpp)
  set(VESNAL_PLATFORM_LIBRARIES PkgConfig::SMBCLIENT)
else()
  message(FATAL_ERROR "Vesnal has no platform back end for ${CMAKE_SYSTEM_NAME}")
endif()
