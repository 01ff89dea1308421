# The Windows build (mingw-w64): a static runtime, programs run under Wine when cross-built, and
# GoogleTest built from source for the target, since Debian's test libraries are Linux ones.

# libgcc, libstdc++ and winpthread inside the executable: it imports only Windows' own DLLs.
add_link_options(-static -static-libgcc -static-libstdc++)

if(CMAKE_CROSSCOMPILING)
  # Each build tree has its own Wine prefix, made on the first run.
  set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_CURRENT_LIST_DIR}/wine-run --prefix ${CMAKE_BINARY_DIR}/wine)
endif()

if(PUFFPOP_TESTS AND CMAKE_CROSSCOMPILING)
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
endif()
