# SPDX-License-Identifier: GPL-3.0-or-later
#
# Checks the build options, run as a test:
#   cmake -DSOURCE=<source> -DBUILD=<configured build> -DSCRATCH=<empty dir> -P CheckBuildOptions.cmake
# A packager's -DBUILD_TESTING=OFF configures no test and never looks for Qt
# Test; in a normal build the default target holds the programs and the
# tests but no benchmark or screenshot program. Each fault is reported.
file(REMOVE_RECURSE ${SCRATCH})
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${SCRATCH} -G Ninja -DBUILD_TESTING=OFF
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "configuring with -DBUILD_TESTING=OFF failed:\n${out}")
endif()
file(STRINGS ${SCRATCH}/CMakeCache.txt qt_test REGEX "^Qt6Test_DIR:")
execute_process(COMMAND ninja -C ${SCRATCH} -t targets all OUTPUT_VARIABLE targets)
file(REMOVE_RECURSE ${SCRATCH})
execute_process(COMMAND ninja -C ${BUILD} -t inputs all OUTPUT_VARIABLE inputs)

if(qt_test)
  message(SEND_ERROR "-DBUILD_TESTING=OFF still looks for Qt Test")
endif()
foreach(name vesnal vesnal-net tempral)
  if(NOT targets MATCHES "(^|\n)${name}: ")
    message(SEND_ERROR "-DBUILD_TESTING=OFF builds no ${name}")
  endif()
endforeach()
if(targets MATCHES "tst_|bench|screenshots|fakes")
  message(SEND_ERROR "-DBUILD_TESTING=OFF still has test or benchmark targets")
endif()
if(NOT inputs MATCHES "tst_form1")
  message(SEND_ERROR "the default target builds no tests")
endif()
if(inputs MATCHES "bench_tree|bench_send|bench_shots|tempral_bench|tempral_screenshots")
  message(SEND_ERROR "the default target builds benchmarks or screenshot programs")
endif()
