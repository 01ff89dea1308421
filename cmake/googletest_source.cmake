# GoogleTest built from source for the target, for a cross build: Debian's test libraries are the
# build machine's.
set(PUFFPOP_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources (Debian package googletest)")
if(NOT EXISTS ${PUFFPOP_GOOGLETEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest sources in ${PUFFPOP_GOOGLETEST_SOURCE}: install the googletest package "
    "or set PUFFPOP_GOOGLETEST_SOURCE")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${PUFFPOP_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
# GoogleTest 1.12 names its targets GTest::gtest, GTest::gmock, GTest::gtest_main itself; older ones did not.
foreach(lib gtest gmock gtest_main gmock_main)
  if(NOT TARGET GTest::${lib})
    add_library(GTest::${lib} ALIAS ${lib})
  endif()
endforeach()
