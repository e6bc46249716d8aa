# Turns a binary file into a C++ source file holding it as a byte array, so that build products
# (the companion installers, test programs) can be linked into our executables as data.
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DSYMBOL=name -P EmbedBinary.cmake
# The source defines: extern const unsigned char name[]; extern const unsigned int name_size;
if(CMAKE_SCRIPT_MODE_FILE)
  file(READ "${INPUT}" hex HEX)
  string(LENGTH "${hex}" hex_len)
  math(EXPR size "${hex_len} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
  file(WRITE "${OUTPUT}" "// Generated from ${INPUT}; do not edit.\n"
    "extern const unsigned char ${SYMBOL}[];\nextern const unsigned int ${SYMBOL}_size;\n"
    "alignas(4) const unsigned char ${SYMBOL}[] = {\n${bytes}\n};\n"
    "const unsigned int ${SYMBOL}_size = ${size};\n")
  return()
endif()

# ruvelto_embed_binary(<out-var> SYMBOL name INPUT file DEPENDS target...)
function(ruvelto_embed_binary out_var)
  cmake_parse_arguments(E "" "SYMBOL;INPUT" "DEPENDS" ${ARGN})
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${E_SYMBOL}.cpp)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${E_INPUT} -DOUTPUT=${out} -DSYMBOL=${E_SYMBOL}
            -P ${CMAKE_SOURCE_DIR}/cmake/EmbedBinary.cmake
    DEPENDS ${E_INPUT} ${E_DEPENDS} ${CMAKE_SOURCE_DIR}/cmake/EmbedBinary.cmake
    COMMENT "Embedding ${E_SYMBOL}")
  set(${out_var} ${out} PARENT_SCOPE)
endfunction()
