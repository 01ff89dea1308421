# The Win32 host's system services: files, the one-copy mutex, sound through winmm and the
# embedded files read from the executable's resources. Included from this folder's CMakeLists.txt.
target_sources(puffpop_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/single_copy.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sound.cpp
  ${CMAKE_CURRENT_LIST_DIR}/embedded.cpp)
target_link_libraries(puffpop_core PUBLIC winmm)
