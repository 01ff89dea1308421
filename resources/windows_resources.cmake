# The Windows resource script: the assets under their catalogue types and names, the two font faces,
# the program icon, the version block and the manifest. Every executable that links puffpop_core
# carries them, so the game and its tests can find them with FindResource.
enable_language(RC)

# Each Key=Value line of version.txt becomes a string of the version block.
file(STRINGS version.txt version_lines REGEX "^[A-Za-z]+=")
set(version_strings "")
foreach(line IN LISTS version_lines)
  string(REGEX REPLACE "\r$" "" line "${line}")
  string(REGEX MATCH "^([A-Za-z]+)=(.*)$" matched "${line}")
  string(REPLACE "\"" "\"\"" value "${CMAKE_MATCH_2}")
  string(APPEND version_strings "            VALUE \"${CMAKE_MATCH_1}\", \"${value}\"\n")
  set(version_${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
endforeach()
foreach(kind File Product)
  if(NOT version_${kind}Version MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+$")
    message(FATAL_ERROR "resources/version.txt: ${kind}Version must be four numbers like 1.0.0.0")
  endif()
  string(REPLACE "." "," ${kind}_numbers "${version_${kind}Version}")
endforeach()

set(icon_path ${CMAKE_CURRENT_SOURCE_DIR}/Puffpop.ico)
set(manifest_path ${CMAKE_CURRENT_BINARY_DIR}/puffpop.manifest)
configure_file(puffpop.manifest.in ${manifest_path} @ONLY)
configure_file(puffpop.rc.in ${CMAKE_CURRENT_BINARY_DIR}/puffpop.rc @ONLY)

add_library(puffpop_resources OBJECT ${CMAKE_CURRENT_BINARY_DIR}/puffpop.rc)
# windres reads the files the script names; a changed asset must rebuild the resources.
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/puffpop.rc PROPERTIES OBJECT_DEPENDS
  "${blob_deps};${manifest_path}")
target_sources(puffpop_core INTERFACE $<TARGET_OBJECTS:puffpop_resources>)
