# The Windows resource script: the assets under their catalogue types and names, the two font faces,
# the program icon, the version block and the manifest. Every executable that links this host
# carries them, so the game and its tests can find them with FindResource (embedded.cpp).
enable_language(RC)

set(resources ${PROJECT_SOURCE_DIR}/resources)
set(version_path ${resources}/version.txt)
# The assets under their own types; the script names the RCDATA files itself.
get_property(embedded GLOBAL PROPERTY PUFFPOP_EMBEDDED_FILES)
set(asset_rc "")
set(blob_deps "")
foreach(entry IN LISTS embedded)
  puffpop_embedded_file(${entry} type name path)
  list(APPEND blob_deps ${path})
  if(NOT type STREQUAL "RCDATA")
    string(APPEND asset_rc "${name} ${type} \"${path}\"\n")
  endif()
endforeach()

# Each Key=Value line of version.txt becomes a string of the version block.
file(STRINGS ${version_path} version_lines REGEX "^[A-Za-z]+=")
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

set(icon_path ${resources}/Puffpop.ico)
set(manifest_path ${CMAKE_CURRENT_BINARY_DIR}/puffpop.manifest)
configure_file(puffpop.manifest.in ${manifest_path} @ONLY)
configure_file(puffpop.rc.in ${CMAKE_CURRENT_BINARY_DIR}/puffpop.rc @ONLY)

add_library(puffpop_win32_resources OBJECT ${CMAKE_CURRENT_BINARY_DIR}/puffpop.rc)
# windres reads the files the script names; a changed asset must rebuild the resources.
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/puffpop.rc PROPERTIES OBJECT_DEPENDS
  "${blob_deps};${manifest_path}")
target_sources(puffpop_host_win32 INTERFACE $<TARGET_OBJECTS:puffpop_win32_resources>)
