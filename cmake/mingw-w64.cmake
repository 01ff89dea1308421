# Cross-builds Puffpop for 64-bit Windows with Debian's mingw-w64 (GCC 12).
# The posix thread model: std::thread, std::mutex and std::future need it in this GCC.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PUFFPOP_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PUFFPOP_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PUFFPOP_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${PUFFPOP_MINGW}-windres)
set(CMAKE_AR ${PUFFPOP_MINGW}-gcc-ar-posix CACHE FILEPATH "Archiver")
set(CMAKE_RANLIB ${PUFFPOP_MINGW}-gcc-ranlib-posix CACHE FILEPATH "Archive indexer")

# Libraries and headers come from the cross sysroot only; programs (cmake, windres) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${PUFFPOP_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config too: left alone it hands the Linux SDL2's flags to the Windows build.
set(ENV{PKG_CONFIG_LIBDIR} /usr/${PUFFPOP_MINGW}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

# The runtime goes inside the executable, so it imports only Windows' own DLLs and runs from any folder.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

# Programs built here run under Wine (tests, test discovery), each build tree with its own prefix,
# made on the first run.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run --prefix ${CMAKE_BINARY_DIR}/wine)
