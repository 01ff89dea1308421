# Cross-builds Puffpop to WebAssembly with Debian's emscripten (3.1.6, clang 14).
# Programs built here (the suites, test discovery) run under node. emscripten's own default hands
# node a flag node 20 rejects, and node 20 tries to fetch what emscripten's output loads by path.
find_program(PUFFPOP_NODE NAMES node nodejs REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PUFFPOP_NODE} --no-experimental-fetch --stack-size=8192)
set(EMSCRIPTEN_ROOT_PATH /usr/share/emscripten CACHE PATH "Debian's emscripten")
include(${EMSCRIPTEN_ROOT_PATH}/cmake/Modules/Platform/Emscripten.cmake)

# The game raises and catches C++ exceptions: emscripten leaves catching out unless asked. Memory
# grows as the pictures load, rather than reserving the most the game could ever need.
set(CMAKE_CXX_FLAGS_INIT "-fexceptions")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fexceptions -sALLOW_MEMORY_GROWTH=1")

# The runtime and a host call each other: wasm-ld, like lld, looks through its archives as often
# as it needs; a group is still passed for CMake's $<LINK_GROUP:RESCAN>.
set(CMAKE_CXX_LINK_GROUP_USING_RESCAN_SUPPORTED TRUE)
set(CMAKE_CXX_LINK_GROUP_USING_RESCAN "LINKER:--start-group" "LINKER:--end-group")

# emscripten runs its tools under Python and node: Debian's own Python (another one first on PATH
# may lack what it needs), and a node that finds Debian's node modules (its JavaScript optimiser).
set(puffpop_em_env env EMSDK_PYTHON=/usr/bin/python3 NODE_PATH=/usr/share/nodejs)
set(CMAKE_CXX_COMPILER_LAUNCHER ${puffpop_em_env} $ENV{CMAKE_CXX_COMPILER_LAUNCHER})
set(CMAKE_CXX_LINKER_LAUNCHER ${puffpop_em_env})
