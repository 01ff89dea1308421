# The shipped program in the browser (included by the top CMakeLists.txt): the page, the script and
# the WebAssembly, side by side in site/, served as plain static files; `make web` copies them to
# build/web, `make dist` packs them as puffpop-<version>-web.zip.
set(puffpop_site ${PROJECT_BINARY_DIR}/site)
set_target_properties(puffpop PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${puffpop_site})
configure_file(${CMAKE_CURRENT_LIST_DIR}/index.html ${puffpop_site}/index.html COPYONLY)

install(FILES ${puffpop_site}/index.html ${puffpop_site}/puffpop.js ${puffpop_site}/puffpop.wasm
  DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME puffpop-${PROJECT_VERSION}-web)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
