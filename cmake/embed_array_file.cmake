# cmake -DIN=<file> -DOUT=<source> -DSYMBOL=<name> [-DCOMPRESSED=ON] -P embed_array_file.cmake
# Writes a C++ source that carries the file's bytes as an array, for targets whose assembler takes
# no .incbin (WebAssembly); gzip-compressed with COMPRESSED.
if(COMPRESSED)
  file(ARCHIVE_CREATE OUTPUT ${OUT}.gz PATHS ${IN} FORMAT raw COMPRESSION GZip COMPRESSION_LEVEL 9)
  set(IN ${OUT}.gz)
endif()
file(READ ${IN} hex HEX)
string(LENGTH "${hex}" digits)
if(digits EQUAL 0)
  set(hex "00")  # an empty array is not C++; the end marker below still says 0 bytes
endif()
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
math(EXPR size "${digits} / 2")
file(WRITE ${OUT} "// Generated from ${IN}.\n#include <cstdint>\n"
  "alignas(16) extern const uint8_t ${SYMBOL}[] = {${bytes}};\n"
  "extern const uint8_t* const ${SYMBOL}_end = ${SYMBOL} + ${size};\n")
