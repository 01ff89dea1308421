# puffpop_embed_files(target [COMPRESSED [STORED name...]]): carries every file resources/ lists inside the programs
# that link target, for a host with no resource section of its own to find them in; ResourceBytes
# looks them up by type and name. Natively the assembler includes each file's bytes as they are
# (.incbin), on ELF and on Windows' COFF alike: its read-only section is named for each, and .text
# follows it, since COFF knows no .previous. WebAssembly's assembler takes no .incbin: there each
# file becomes an array in a source of its own, made at build time; COMPRESSED (a host that must
# download its program) carries them gzip-compressed, all but the STORED names, and the host defines
#   std::span<const uint8_t> InflateEmbedded(std::span<const uint8_t> packed, size_t size)
# to give ResourceBytes each file's own bytes, kept for the rest of the run.
# puffpop_embedded_file(entry type name path): the fields of one entry of PUFFPOP_EMBEDDED_FILES.
function(puffpop_embedded_file entry type name path)
  string(REPLACE "|" ";" fields "${entry}")
  list(GET fields 0 field)
  set(${type} ${field} PARENT_SCOPE)
  list(GET fields 1 field)
  set(${name} ${field} PARENT_SCOPE)
  list(GET fields 2 field)
  set(${path} ${field} PARENT_SCOPE)
endfunction()

function(puffpop_embed_files target)
  cmake_parse_arguments(PARSE_ARGV 1 embed "COMPRESSED" "" "STORED")
  get_property(embedded GLOBAL PROPERTY PUFFPOP_EMBEDDED_FILES)
  set(arrays OFF)
  if(CMAKE_SYSTEM_NAME STREQUAL "Emscripten")
    set(arrays ON)
  endif()
  if(embed_COMPRESSED AND NOT arrays)
    message(FATAL_ERROR "puffpop_embed_files(${target} COMPRESSED): only for WebAssembly")
  endif()
  set(blob_asm "")
  set(blob_table "")
  set(blob_decls "")
  set(blob_deps "")
  set(index 0)
  foreach(entry IN LISTS embedded)
    puffpop_embedded_file(${entry} type name path)
    set(blob puffpop_blob_${index})
    # An empty file is carried as it is (size 0), as are the stored ones: nothing to inflate.
    set(size 0)
    if(embed_COMPRESSED AND NOT name IN_LIST embed_STORED)
      file(SIZE ${path} size)
    endif()
    set(compress OFF)
    if(size GREATER 0)
      set(compress ON)
    endif()
    string(APPEND blob_table "    {\"${type}\", \"${name}\", ${blob}, ${blob}_end, ${size}},\n")
    if(arrays)
      set(array ${CMAKE_CURRENT_BINARY_DIR}/${target}_${blob}.cpp)
      add_custom_command(OUTPUT ${array}
        COMMAND ${CMAKE_COMMAND} -DIN=${path} -DOUT=${array} -DSYMBOL=${blob}
          -DCOMPRESSED=${compress} -P ${PROJECT_SOURCE_DIR}/cmake/embed_array_file.cmake
        DEPENDS ${path} ${PROJECT_SOURCE_DIR}/cmake/embed_array_file.cmake
        COMMENT "Carrying ${name} as an array"
        VERBATIM)
      target_sources(${target} PRIVATE ${array})
      string(APPEND blob_decls "extern const uint8_t ${blob}[];\n"
        "extern const uint8_t* const ${blob}_end;\n")
    else()
      list(APPEND blob_deps ${path})
      string(APPEND blob_asm
        "    \".balign 16\\n\"\n"
        "    \"${blob}:\\n\"\n"
        "    \".incbin \\\"${path}\\\"\\n\"\n"
        "    \"${blob}_end:\\n\"\n")
      string(APPEND blob_decls "extern const uint8_t ${blob}[] __asm__(\"${blob}\");\n"
        "extern const uint8_t ${blob}_end[] __asm__(\"${blob}_end\");\n")
    endif()
    math(EXPR index "${index} + 1")
  endforeach()
  if(index EQUAL 0)
    message(FATAL_ERROR "puffpop_embed_files(${target}): resources/ has listed no files yet")
  endif()
  if(NOT arrays)
    set(blob_asm "__asm__(\n    PUFFPOP_READ_ONLY\n${blob_asm}    \".text\\n\");\n")
  endif()
  set(inflate_decl "")
  set(inflate_call "carried")
  if(embed_COMPRESSED)
    set(inflate_decl "std::span<const uint8_t> InflateEmbedded(std::span<const uint8_t> packed, size_t size);\n")
    set(inflate_call "blob.size ? InflateEmbedded(carried, blob.size) : carried")
  endif()

  set(generated ${CMAKE_CURRENT_BINARY_DIR}/${target}_embedded_files.cpp)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/embed.cpp.in ${generated} @ONLY)
  target_sources(${target} PRIVATE ${generated})
  # A changed asset must be assembled again.
  set_source_files_properties(${generated} PROPERTIES OBJECT_DEPENDS "${blob_deps}")
endfunction()
