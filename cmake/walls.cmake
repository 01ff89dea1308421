# The wall between the game and the hosts. The game (game/, startup/, assets/, main.cpp) and the
# portable core see headers through generated include trees, never through the source root:
#   include/platform/*.h      one link per core header: what the runtime offers
#   include-game/game, ...    links to the game's own folders, for "game/frmMAIN.h" and the like
# so "platform/sdl/..." and the other host folders are not there to be found. SDL's include folder
# reaches no one but the SDL host, and puffpop_walls puts stubs of <SDL.h>, <SDL2/SDL.h>,
# <windows.h> and emscripten's headers that stop with an error in front of the system's own copies.
# puffpop_prove_walls() then tries such includes with the game's include path at every configure.

set(puffpop_runtime_include ${PROJECT_BINARY_DIR}/include)
set(puffpop_game_include ${PROJECT_BINARY_DIR}/include-game)

# Remade at each configure, so that a removed core header goes from the tree too.
file(GLOB puffpop_core_headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/platform/*.h)
file(REMOVE_RECURSE ${puffpop_runtime_include}/platform)
file(MAKE_DIRECTORY ${puffpop_runtime_include}/platform)
foreach(header IN LISTS puffpop_core_headers)
  get_filename_component(name ${header} NAME)
  file(CREATE_LINK ${header} ${puffpop_runtime_include}/platform/${name} SYMBOLIC)
endforeach()
file(MAKE_DIRECTORY ${puffpop_game_include})
foreach(folder game startup assets)
  if(NOT IS_SYMLINK ${puffpop_game_include}/${folder})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${puffpop_game_include}/${folder} SYMBOLIC)
  endif()
endforeach()

add_library(puffpop_walls INTERFACE)
target_include_directories(puffpop_walls BEFORE INTERFACE ${PROJECT_SOURCE_DIR}/cmake/walls)

# The include folders a target's own sources see: its own, then those of what it links, in order.
function(puffpop_include_path target out)
  get_target_property(dirs ${target} INCLUDE_DIRECTORIES)
  get_target_property(libs ${target} LINK_LIBRARIES)
  set(path "")
  foreach(dir IN LISTS dirs)
    list(APPEND path ${dir})
  endforeach()
  set(seen "")
  while(libs)
    list(POP_FRONT libs lib)
    if(NOT TARGET ${lib} OR lib IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${lib})
    get_target_property(more ${lib} INTERFACE_INCLUDE_DIRECTORIES)
    if(more)
      list(APPEND path ${more})
    endif()
    get_target_property(more ${lib} INTERFACE_LINK_LIBRARIES)
    if(more)
      list(APPEND libs ${more})
    endif()
  endwhile()
  list(FILTER path EXCLUDE REGEX "NOTFOUND$")
  list(TRANSFORM path REPLACE "^\\$<BUILD_INTERFACE:(.*)>$" "\\1")
  list(REMOVE_DUPLICATES path)
  set(${out} ${path} PARENT_SCOPE)
endfunction()

# Preprocesses `#include <what>` for each what given, with the game's include path: whether an
# include is found is settled there, and it takes a fraction of a full compile. `reached` says
# whether it went through.
function(puffpop_probe_include flags what reached)
  set(probe ${PROJECT_BINARY_DIR}/walls-probe.cpp)
  list(TRANSFORM what PREPEND "#include ")
  list(JOIN what "\n" lines)
  file(WRITE ${probe} "${lines}\n")
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} ${CMAKE_CXX20_STANDARD_COMPILE_OPTION} -M
      ${flags} ${probe}
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(status EQUAL 0)
    set(${reached} TRUE PARENT_SCOPE)
  else()
    set(${reached} FALSE PARENT_SCOPE)
    set(probe_output "${output}" PARENT_SCOPE)
  endif()
endfunction()

# The proof: a core header and a game header are found on the game's include path; a header of
# each host folder, SDL and windows.h are not (or stop at their stubs).
function(puffpop_prove_walls)
  puffpop_include_path(puffpop_game path)
  list(TRANSFORM path PREPEND "-I" OUTPUT_VARIABLE flags)

  puffpop_probe_include("${flags}" "\"platform/form.h\";\"game/frmMAIN.h\"" reached)
  if(NOT reached)
    message(FATAL_ERROR "The game's include path (${path}) cannot reach its own headers:\n${probe_output}")
  endif()

  file(GLOB hosts LIST_DIRECTORIES true ${PROJECT_SOURCE_DIR}/platform/*)
  # SDL_video.h: SDL's own include folder, which the stub of SDL.h would hide (emscripten's compiler
  # puts one on every path: there its stub stops it).
  set(walled "<SDL.h>" "<SDL2/SDL.h>" "<SDL_video.h>" "<windows.h>" "<emscripten.h>"
    "<emscripten/html5.h>")
  foreach(host IN LISTS hosts)
    file(GLOB headers ${host}/*.h)
    if(IS_DIRECTORY ${host} AND headers)
      list(GET headers 0 header)
      file(RELATIVE_PATH header ${PROJECT_SOURCE_DIR} ${header})
      list(APPEND walled "\"${header}\"")
    endif()
  endforeach()
  foreach(what IN LISTS walled)
    puffpop_probe_include("${flags}" "${what}" reached)
    if(reached)
      message(FATAL_ERROR "The include wall is open: `#include ${what}` goes through with the game's "
        "include path (${path}). The game and the portable core see only platform/*.h and their own "
        "folders (cmake/walls.cmake); a host's headers and libraries stay inside its own folder.")
    endif()
  endforeach()
endfunction()
